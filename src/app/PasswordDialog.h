// "Document Password": asks for the user password of an encrypted file.
#pragma once

#include <QDialog>
#include <QString>

class QLineEdit;
class QPushButton;

namespace tessary {

class PasswordDialog : public QDialog {
    Q_OBJECT

  public:
    explicit PasswordDialog(QWidget* owner);

    // The text of the password box as it was when OK was pressed; empty
    // before that.
    const QString& GetPassword() const { return password; }

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void OnOk();

    QLineEdit* passwordBox;
    QString password;
};

}  // namespace tessary
