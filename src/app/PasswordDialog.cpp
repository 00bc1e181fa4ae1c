#include "app/PasswordDialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/ControlIds.h"
#include "app/DialogKeys.h"
#include "app/DialogUnits.h"

namespace tessary {

PasswordDialog::PasswordDialog(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    setObjectName("PasswordDialog");
    setWindowTitle("Document Password");
    setFont(DialogFont());
    const DialogUnits units(font());
    setFixedSize(units.ToPixels(187, 93));

    // Created in tab order: OK, Cancel, then the password box.
    auto* ok = new QPushButton("OK", this);
    ok->setObjectName(ControlName(kOkButton));
    ok->setGeometry(units.ToPixels(73, 72, 50, 14));
    ok->setAutoDefault(false);
    ok->setDefault(true);
    auto* cancel = new QPushButton("Cancel", this);
    cancel->setObjectName(ControlName(kCancelButton));
    cancel->setGeometry(units.ToPixels(130, 72, 50, 14));
    cancel->setAutoDefault(false);

    auto* prompt = new QLabel(
        "This PDF document is protected by password. Please input the user password here:", this);
    prompt->setObjectName("promptLabel");
    prompt->setWordWrap(true);
    prompt->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    prompt->setGeometry(units.ToPixels(7, 7, 173, 21));
    auto* label = new QLabel("User Password:", this);
    label->setObjectName("passwordLabel");
    label->setGeometry(units.ToPixels(7, 43, 52, 8));

    passwordBox = new QLineEdit(this);
    passwordBox->setObjectName(ControlName(kPasswordBox));
    passwordBox->setEchoMode(QLineEdit::Password);
    passwordBox->setGeometry(units.ToPixels(68, 42, 112, 14));

    setTabOrder(ok, cancel);
    setTabOrder(cancel, passwordBox);
    ok->setFocus();

    connect(ok, &QPushButton::clicked, this, &PasswordDialog::OnOk);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void PasswordDialog::keyPressEvent(QKeyEvent* event) {
    if (!PressFocusedButton(this, event)) {
        QDialog::keyPressEvent(event);
    }
}

void PasswordDialog::OnOk() {
    password = passwordBox->text();
    accept();
}

}  // namespace tessary
