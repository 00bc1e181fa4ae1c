// Stands in for the file dialogs and message boxes while it lives: answers
// the open-file dialog with a given path and records every message box.
#pragma once

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
inline void PrintTo(const QStringList& list, std::ostream* out) {
    *out << '[' << list.join(", ").toStdString() << ']';
}

namespace tessary::test {

struct RecordedMessage {
    QString text;
    QString caption;
    MessageIcon icon;
    // The override cursor's shape while the box was up, if there was one.
    std::optional<Qt::CursorShape> cursor;
};

class UserInterfaceRecorder {
  public:
    UserInterfaceRecorder();
    ~UserInterfaceRecorder();

    // What the open-file dialog answers; empty means cancelled.
    QString openPath;
    std::vector<RecordedMessage> messages;
    // The filter and default suffix of each open-file request.
    std::vector<std::pair<QString, QString>> openRequests;
    // Called after a message is recorded (to interleave with dialogs in a log).
    std::function<void(const RecordedMessage&)> onMessage;

  private:
    MessageFunction previousMessage;
    FileFunction previousOpen;
};

}  // namespace tessary::test
