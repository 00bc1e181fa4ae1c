// Stands in for the file dialogs and message boxes while it lives: answers
// the open-file dialog with a given path and records every message box.
#pragma once

#include <QApplication>
#include <QCursor>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <ostream>
#include <vector>

#include "app/UserInterface.h"

// Readable QStrings in test failures.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace tessary::test {

struct RecordedMessage {
    QString text;
    QString caption;
    MessageIcon icon;
    std::optional<Qt::CursorShape> cursor;  // the override cursor while the box was up
};

class UserInterfaceRecorder {
  public:
    UserInterfaceRecorder() {
        previousMessage = SetMessageFunction(
            [this](QWidget*, const QString& text, const QString& caption, MessageIcon icon) {
                RecordedMessage message{text, caption, icon, std::nullopt};
                if (const QCursor* cursor = QApplication::overrideCursor()) {
                    message.cursor = cursor->shape();
                }
                messages.push_back(message);
                if (onMessage) {
                    onMessage(message);
                }
            });
        previousOpen =
            SetOpenFileFunction([this](QWidget*, const QString& filter, const QString& suffix) {
                openRequests.emplace_back(filter, suffix);
                return openPath;
            });
    }
    ~UserInterfaceRecorder() {
        SetMessageFunction(std::move(previousMessage));
        SetOpenFileFunction(std::move(previousOpen));
    }
    // The texts so far, which are then forgotten.
    QStringList Take() {
        QStringList texts;
        for (const RecordedMessage& message : messages) {
            texts << message.text;
        }
        messages.clear();
        return texts;
    }

    QString openPath;  // what the open-file dialog answers; empty means cancelled
    std::vector<RecordedMessage> messages;
    std::vector<std::pair<QString, QString>> openRequests;  // filter and default suffix
    std::function<void(const RecordedMessage&)> onMessage;  // to interleave with dialogs in a log

  private:
    MessageFunction previousMessage;
    FileFunction previousOpen;
};

}  // namespace tessary::test
