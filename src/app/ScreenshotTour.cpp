#include "app/ScreenshotTour.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

#include "app/MainWindow.h"
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
    ScreenshotTour(MainWindow& mainWindow, const QString& outputFolder)
        : QObject(&mainWindow), window(mainWindow), folder(outputFolder) {
        // Full paths, as the file dialog gives them.
        encryptedPdf = FullPath(qEnvironmentVariable("TESSARY_SCREENSHOT_ENCRYPTED"));
        viewerPdf = FullPath(qEnvironmentVariable("TESSARY_SCREENSHOT_PDF"));
        SetMessageFunction([](QWidget*, const QString& text, const QString&, MessageIcon) {
            std::fprintf(stderr, "tessary: message: %s\n", qPrintable(text));
        });
        SetOpenFileFunction([this](QWidget*, const QString&, const QString&) { return openPath; });
        connect(&timer, &QTimer::timeout, this, &ScreenshotTour::Tick);
        timer.start(kTickMilliseconds);
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
            std::fprintf(stderr, "tessary: screenshot tour stuck at step %d\n",
                         static_cast<int>(step));
            std::exit(1);
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
                    auto* save = active->findChild<QPushButton*>("1020");
                    if (save == nullptr) {
                        std::fprintf(stderr, "tessary: the viewer has no Save button yet\n");
                        NextStep(Step::CloseViewer);
                        break;
                    }
                    Save(active, "viewer.png");
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
                    SetMessageFunction({});
                    SetOpenFileFunction({});
                    window.reject();
                }
                break;
        }
    }

    static QString FullPath(const QString& path) {
        return path.isEmpty() ? path : QFileInfo(path).absoluteFilePath();
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
            std::fprintf(stderr, "tessary: could not save %s\n", qPrintable(path));
            std::exit(1);
        }
        std::fprintf(stderr, "tessary: saved %s\n", qPrintable(path));
    }

    // Presses "View PDF File" once the current event is done; the open-file
    // dialog answers `path`.
    void Open(const QString& path, Step next) {
        openPath = path;
        auto* view = window.findChild<QPushButton*>("1001");
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
};

}  // namespace

void StartScreenshotTourIfAsked(MainWindow& window) {
    const QString folder = qEnvironmentVariable("TESSARY_SCREENSHOT");
    if (!folder.isEmpty()) {
        new ScreenshotTour(window, folder);  // owned by the window
    }
}

}  // namespace tessary
