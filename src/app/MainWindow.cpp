#include "app/MainWindow.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTimer>
#include <QUrl>

#include "app/AboutDialog.h"
#include "app/ControlIds.h"
#include "app/ConvertCommand.h"
#include "app/DialogKeys.h"
#include "app/DialogUnits.h"
#include "app/ProgramIcon.h"
#include "app/ViewCommand.h"

namespace tessary {

// A top-level window with a title, a system menu and a close box, but neither
// resizing nor minimise and maximise boxes; a normal window rather than a
// dialog, so that it appears in the task bar.
MainWindow::MainWindow()
    : QDialog(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    setObjectName("MainWindow");
    setWindowTitle("Tessary");
    setWindowIcon(ProgramIcon());
    setFont(DialogFont());
    const DialogUnits units(font());
    setFixedSize(units.ToPixels(291, 151));

    auto button = [&](const char* text, int id, QRect geometry) {
        auto* created = new QPushButton(text, this);
        created->setObjectName(ControlName(id));
        created->setGeometry(geometry);
        created->setAutoDefault(false);  // no default button
        return created;
    };
    auto label = [&](const char* text, const char* name, QRect geometry) {
        auto* created = new QLabel(text, this);
        created->setObjectName(name);
        created->setWordWrap(true);
        created->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        created->setGeometry(geometry);
        return created;
    };

    // In tab order.
    QPushButton* close = button("Close", kCloseButton, units.ToPixels(234, 130, 50, 14));
    QPushButton* view = button("View PDF File", kViewButton, units.ToPixels(7, 87, 124, 31));
    label(
        "Tessary extracts readable text from most PDF files and lays it out as on the page. "
        "The text is ready to read, to copy into other applications and to print.",
        "introLabel", units.ToPixels(7, 7, 277, 29));
    QPushButton* about = button("About Tessary", kAboutButton, units.ToPixels(7, 130, 124, 14));
    QPushButton* convert =
        button("Convert PDF File", kConvertButton, units.ToPixels(7, 45, 124, 31));
    label(
        "Automatically convert all pages in a PDF file and write to a text file with same name "
        "(but the file type becomes \".txt\") ",
        "convertLabel", units.ToPixels(137, 46, 147, 30));
    label(
        "You view all pages in a PDF file, in pure text mode. You can edit the page if needed, "
        "save to text file, or copy to other applications.",
        "viewLabel", units.ToPixels(137, 88, 147, 29));
    setTabOrder(close, view);
    setTabOrder(view, about);
    setTabOrder(about, convert);
    close->setFocus();

    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(view, &QPushButton::clicked, this, [this] { ViewPdfFile(this); });
    connect(about, &QPushButton::clicked, this, &MainWindow::ShowAbout);
    connect(convert, &QPushButton::clicked, this, [this] { ConvertPdfFile(this); });

    setAcceptDrops(true);
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this, &MainWindow::ShowContextMenu);
}

std::unique_ptr<QMenu> MainWindow::CreateContextMenu() {
    auto menu = std::make_unique<QMenu>(this);
    menu->addAction("&Close", this, &QDialog::reject);
    menu->addSeparator();
    menu->addAction("&About Tessary...", this, &MainWindow::ShowAbout);
    return menu;
}

void MainWindow::ViewSoon(const QString& path) {
    const QString fullPath = QFileInfo(path).absoluteFilePath();
    QTimer::singleShot(0, this, [this, fullPath] { ViewPdfPath(this, fullPath); });
}

QString MainWindow::DraggedFile(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls() || data->urls().size() != 1) {
        return {};
    }
    const QUrl url = data->urls().front();
    return url.isLocalFile() ? url.toLocalFile() : QString();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!DraggedFile(event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
    }
}

// The viewer is modal: it opens after the drop has ended, so the program the
// file came from isn't kept waiting for the drop while the user reads.
void MainWindow::dropEvent(QDropEvent* event) {
    const QString path = DraggedFile(event->mimeData());
    if (!path.isEmpty()) {
        event->acceptProposedAction();
        ViewSoon(path);
    }
}

void MainWindow::ShowAbout() {
    AboutDialog(this).exec();
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    if (!PressFocusedButton(this, event)) {
        QDialog::keyPressEvent(event);
    }
}

void MainWindow::ShowContextMenu(const QPoint& position) {
    const std::unique_ptr<QMenu> menu = CreateContextMenu();
    menu->exec(mapToGlobal(position));
}

}  // namespace tessary
