// The program's one main window: Convert, View, About and Close.
#pragma once

#include <QDialog>
#include <QString>
#include <memory>

class QMenu;
class QMimeData;

namespace tessary {

class MainWindow : public QDialog {
    Q_OBJECT

  public:
    MainWindow();

    // The window's context menu (right button on its background): "&Close",
    // a separator and "&About Tessary...", which stands in for the About item
    // that the window's system menu would hold; X11 and Wayland give programs
    // no such menu.
    std::unique_ptr<QMenu> CreateContextMenu();

    // Views the PDF file at path as View does once a file is chosen, as soon
    // as the window's event loop runs: for a file named on the command line
    // or dropped on the window.
    void ViewSoon(const QString& path);

    // The one local file that dragged data carries, or an empty string.
    static QString DraggedFile(const QMimeData* data);

  public slots:
    void ShowAbout();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void ShowContextMenu(const QPoint& position);
};

}  // namespace tessary
