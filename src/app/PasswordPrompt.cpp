#include "app/PasswordPrompt.h"

#include <QApplication>

#include "app/BusyCursor.h"
#include "app/PasswordDialog.h"
#include "app/UserInterface.h"
#include "pdf/PdfDocument.h"

namespace tessary {

namespace {

QWidget* ActiveWindow() {
    QWidget* modal = QApplication::activeModalWidget();
    return modal != nullptr ? modal : QApplication::activeWindow();
}

}  // namespace

std::string PasswordBytes(const QString& password) {
    for (const QChar c : password) {
        if (c.unicode() > 0xFF) {
            return password.toStdString();  // UTF-8
        }
    }
    const QByteArray bytes = password.toLatin1();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

int PasswordPrompt(void* /*userData*/, int kind, std::string& argument) {
    if (kind == kShowMessage) {
        ShowMessage(ActiveWindow(), QString::fromStdString(argument), ApplicationName(),
                    MessageIcon::Exclamation);
        return 0;
    }
    if (kind == kAskPassword) {
        const NormalCursor cursor;
        PasswordDialog dialog(ActiveWindow());
        if (dialog.exec() != QDialog::Accepted) {
            return 0;
        }
        argument = PasswordBytes(dialog.GetPassword());
        return 1;
    }
    return 0;
}

}  // namespace tessary
