#include "app/UserInterface.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QStringList>

#include "app/BusyCursor.h"
#include "app/DialogUnits.h"

namespace tessary {

namespace {

void RealMessage(QWidget* owner, const QString& text, const QString& caption, MessageIcon icon) {
    QMessageBox box(icon == MessageIcon::Exclamation ? QMessageBox::Warning : QMessageBox::NoIcon,
                    caption, text, QMessageBox::Ok, owner);
    // A box is a window of its own and would take the application's font,
    // not the dialogs' font of its owner.
    box.setFont(DialogFont());
    box.exec();
}

QString RealFileDialog(QWidget* owner, const QString& filter, const QString& defaultSuffix,
                       QFileDialog::AcceptMode mode) {
    QFileDialog dialog(owner);
    dialog.setAcceptMode(mode);
    dialog.setNameFilter(ToQtFilter(filter));
    dialog.setDefaultSuffix(defaultSuffix);
    if (mode == QFileDialog::AcceptSave) {
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    } else {
        dialog.setFileMode(QFileDialog::AnyFile);  // the file need not exist
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return QFileInfo(dialog.selectedFiles().front()).absoluteFilePath();
}

MessageFunction& MessageHook() {
    static MessageFunction hook;
    return hook;
}

FileFunction& OpenHook() {
    static FileFunction hook;
    return hook;
}

FileFunction& SaveHook() {
    static FileFunction hook;
    return hook;
}

}  // namespace

QString ApplicationName() {
    const QString path = QCoreApplication::applicationFilePath();
    return path.isEmpty() ? QStringLiteral("tessary") : QFileInfo(path).completeBaseName();
}

void ShowMessage(QWidget* owner, const QString& text, const QString& caption, MessageIcon icon) {
    const NormalCursor cursor;
    if (MessageHook()) {
        MessageHook()(owner, text, caption, icon);
    } else {
        RealMessage(owner, text, caption, icon);
    }
}

QString AskOpenFileName(QWidget* owner, const QString& filter, const QString& defaultSuffix) {
    return OpenHook() ? OpenHook()(owner, filter, defaultSuffix)
                      : RealFileDialog(owner, filter, defaultSuffix, QFileDialog::AcceptOpen);
}

QString AskSaveFileName(QWidget* owner, const QString& filter, const QString& defaultSuffix) {
    return SaveHook() ? SaveHook()(owner, filter, defaultSuffix)
                      : RealFileDialog(owner, filter, defaultSuffix, QFileDialog::AcceptSave);
}

MessageFunction SetMessageFunction(MessageFunction function) {
    return std::exchange(MessageHook(), std::move(function));
}

FileFunction SetOpenFileFunction(FileFunction function) {
    return std::exchange(OpenHook(), std::move(function));
}

FileFunction SetSaveFileFunction(FileFunction function) {
    return std::exchange(SaveHook(), std::move(function));
}

QString ToQtFilter(const QString& filter) {
    const QStringList parts = filter.split('|', Qt::SkipEmptyParts);
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString pattern = parts[i + 1];
        pattern.replace(';', ' ');
        if (pattern == "*.*")
            pattern = "*";
        QString label = parts[i];
        label.replace("(*.*)", "(*)");
        filters << QString("%1 (%2)").arg(label.section(" (", 0, 0), pattern);
    }
    return filters.join(";;");
}

}  // namespace tessary
