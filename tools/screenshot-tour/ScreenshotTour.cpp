// Takes the pictures of the documentation: runs the program's main window,
// walks through its windows on its own and saves each one as a PNG file in
// FOLDER: main-window.png; password-dialog.png (View on ENCRYPTED.pdf, then
// Cancel); viewer.png (View on VIEWED.pdf) and save-dialog.png (its Save
// button). scripts/take-screenshots runs it in a virtual X server.
//
//   screenshot-tour FOLDER ENCRYPTED.pdf VIEWED.pdf
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>
#include <cstdio>

#include "app/ControlIds.h"
#include "app/MainWindow.h"
#include "app/ProgramIcon.h"
#include "app/UserInterface.h"

namespace tessary {

namespace {

constexpr int kTickMilliseconds = 100;
// Ticks a window is given to settle (layout, focus, first paint) before it is
// taken, and ticks after which a step that waits for a window gives up.
constexpr int kSettleTicks = 5;
constexpr int kGiveUpTicks = 300;

// One step after another, each waiting for the window it works on to be the
// active modal one. The steps run from a timer, which keeps firing inside the
// modal loops of the dialogs that the tour opens.
class ScreenshotTour : public QObject {
  public:
    // The PDF files are given by full paths, as the file dialog gives them.
    ScreenshotTour(MainWindow& mainWindow, const QString& outputFolder, const QString& encrypted,
                   const QString& viewed)
        : QObject(&mainWindow),
          window(mainWindow),
          folder(outputFolder),
          encryptedPdf(encrypted),
          viewerPdf(viewed) {
        SetMessageFunction([](QWidget*, const QString& text, const QString&, MessageIcon) {
            std::fprintf(stderr, "screenshot-tour: message: %s\n", qPrintable(text));
        });
        SetOpenFileFunction([this](QWidget*, const QString&, const QString&) { return openPath; });
        connect(&timer, &QTimer::timeout, this, &ScreenshotTour::Tick);
        timer.start(kTickMilliseconds);
    }
    ~ScreenshotTour() override {
        SetMessageFunction({});
        SetOpenFileFunction({});
    }

  private:
    enum class Step {
        MainWindow,
        PasswordDialog,
        OpenViewer,
        Viewer,
        SaveDialog,
        CloseViewer,
        Done
    };

    void Tick() {
        QWidget* active = QApplication::activeModalWidget();
        if (++ticks > kGiveUpTicks) {
            Fail("stuck at step " + QString::number(static_cast<int>(step)));
            return;
        }
        switch (step) {
            case Step::MainWindow:
                if (Settled(&window, active)) {
                    Save(&window, "main-window.png");
                    if (!encryptedPdf.isEmpty()) {
                        Open(encryptedPdf, Step::PasswordDialog);
                    } else {
                        OpenViewerOrFinish();
                    }
                }
                break;
            case Step::PasswordDialog:
                if (Settled(FindModal(active, "tessary::PasswordDialog"), active)) {
                    Save(active, "password-dialog.png");
                    qobject_cast<QDialog*>(active)->reject();
                    NextStep(Step::OpenViewer);
                }
                break;
            case Step::OpenViewer:
                // After the failed open's message, once View has returned.
                if (active == &window) {
                    OpenViewerOrFinish();
                }
                break;
            case Step::Viewer:
                if (Settled(FindModal(active, "tessary::ViewerWindow"), active)) {
                    Save(active, "viewer.png");
                    auto* save = FindControl<QPushButton>(*active, kSaveButton);
                    if (save == nullptr) {
                        Fail("the viewer has no Save button");
                        return;
                    }
                    QTimer::singleShot(0, save, &QPushButton::click);
                    NextStep(Step::SaveDialog);
                }
                break;
            case Step::SaveDialog:
                if (Settled(FindModal(active, "tessary::SaveTextDialog"), active)) {
                    Save(active, "save-dialog.png");
                    qobject_cast<QDialog*>(active)->reject();
                    NextStep(Step::CloseViewer);
                }
                break;
            case Step::CloseViewer:
                if (FindModal(active, "tessary::ViewerWindow") != nullptr) {
                    qobject_cast<QDialog*>(active)->reject();
                    NextStep(Step::Done);
                }
                break;
            case Step::Done:
                if (active == &window) {
                    timer.stop();
                    window.reject();
                }
                break;
        }
    }

  public:
    bool Failed() const { return failed; }

  private:
    // Ends every window of the program at once.
    void Fail(const QString& why) {
        std::fprintf(stderr, "screenshot-tour: %s\n", qPrintable(why));
        failed = true;
        timer.stop();
        QCoreApplication::exit(1);
    }

    static QWidget* FindModal(QWidget* active, const char* className) {
        return active != nullptr && active->inherits(className) ? active : nullptr;
    }

    // True once `target` has been the active window for a few ticks; raises
    // and activates it, as there is no window manager to do so.
    bool Settled(QWidget* target, QWidget* active) {
        if (target == nullptr || target != active) {
            settled = 0;
            return false;
        }
        if (settled == 0) {
            target->raise();
            target->activateWindow();
            // Show the focus frame as after a key press, so the pictures tell
            // which control has the focus.
            target->setAttribute(Qt::WA_KeyboardFocusChange);
        }
        return ++settled > kSettleTicks;
    }

    void Save(QWidget* target, const char* name) {
        const QString path = QDir(folder).filePath(name);
        if (!target->grab().save(path, "PNG")) {
            Fail("could not save " + path);
            return;
        }
        std::fprintf(stderr, "screenshot-tour: saved %s\n", qPrintable(path));
    }

    // Presses "View PDF File" once the current event is done; the open-file
    // dialog answers `path`.
    void Open(const QString& path, Step next) {
        openPath = path;
        auto* view = FindControl<QPushButton>(window, kViewButton);
        QTimer::singleShot(0, view, &QPushButton::click);
        NextStep(next);
    }

    void OpenViewerOrFinish() {
        if (viewerPdf.isEmpty()) {
            NextStep(Step::Done);
        } else {
            Open(viewerPdf, Step::Viewer);
        }
    }

    void NextStep(Step next) {
        step = next;
        ticks = 0;
        settled = 0;
    }

    MainWindow& window;
    QString folder;
    QString encryptedPdf;
    QString viewerPdf;
    QString openPath;
    QTimer timer;
    Step step = Step::MainWindow;
    int ticks = 0;
    int settled = 0;
    bool failed = false;
};

}  // namespace
}  // namespace tessary

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName("tessary");
    QApplication::setWindowIcon(tessary::ProgramIcon());
    if (argc != 4) {
        std::fprintf(stderr, "Usage: screenshot-tour FOLDER ENCRYPTED.pdf VIEWED.pdf\n");
        return 2;
    }
    auto fullPath = [](const char* path) {
        return QFileInfo(QFile::decodeName(path)).absoluteFilePath();
    };
    tessary::MainWindow window;
    auto* tour = new tessary::ScreenshotTour(window, QFile::decodeName(argv[1]), fullPath(argv[2]),
                                             fullPath(argv[3]));  // owned by the window
    window.exec();
    return tour->Failed() ? 1 : 0;
}
