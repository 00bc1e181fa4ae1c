// The program's one main window: Convert, View, About and Close.
#pragma once

#include <QDialog>
#include <memory>

class QMenu;

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

  public slots:
    void ShowAbout();

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void ShowContextMenu(const QPoint& position);
};

}  // namespace tessary
