// "About Tessary": the program icon, name and version, and what it does.
#pragma once

#include <QDialog>

namespace tessary {

class AboutDialog : public QDialog {
    Q_OBJECT

  public:
    explicit AboutDialog(QWidget* owner);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace tessary
