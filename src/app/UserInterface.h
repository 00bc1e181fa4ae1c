// The platform services that block on the user: message boxes and file
// dialogs. Each goes through a replaceable function, so tests record them
// instead of waiting for a person.
#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace tessary {

enum class MessageIcon { None, Exclamation };

// The caption of the viewer's, the save dialog's and the password prompt's
// messages: the program file's base name without its extension.
QString ApplicationName();
// The caption of the main window's commands.
inline constexpr const char* kMainCaption = "Tessary";
// The file choice of the Convert and View commands, and its default suffix.
inline constexpr const char* kPdfFileFilter = "PDF Files (*.pdf)|*.pdf|All Files (*.*)|*.*|";
inline constexpr const char* kPdfSuffix = "pdf";

using MessageFunction =
    std::function<void(QWidget* owner, const QString& text, const QString& caption, MessageIcon)>;
// filter: label and pattern pairs separated by "|", as "PDF Files (*.pdf)|*.pdf|All Files
// (*.*)|*.*|"; defaultSuffix is added to a typed name without one. An empty
// result means the user cancelled.
using FileFunction =
    std::function<QString(QWidget* owner, const QString& filter, const QString& defaultSuffix)>;

// A modal message box with one OK button. Under a busy cursor the box shows
// the normal arrow while it waits.
void ShowMessage(QWidget* owner, const QString& text, const QString& caption,
                 MessageIcon icon = MessageIcon::None);
QString AskOpenFileName(QWidget* owner, const QString& filter, const QString& defaultSuffix);
QString AskSaveFileName(QWidget* owner, const QString& filter, const QString& defaultSuffix);

// Replace the functions behind the three above; an empty function restores
// the real one. Each returns the function it replaced.
MessageFunction SetMessageFunction(MessageFunction function);
FileFunction SetOpenFileFunction(FileFunction function);
FileFunction SetSaveFileFunction(FileFunction function);

// "PDF Files (*.pdf)|*.pdf|All Files (*.*)|*.*|" as a Qt name filter list
// ("PDF Files (*.pdf);;All Files (*)").
QString ToQtFilter(const QString& filter);

}  // namespace tessary
