#include "UserInterfaceRecorder.h"

#include <QApplication>
#include <QCursor>

namespace tessary::test {

UserInterfaceRecorder::UserInterfaceRecorder() {
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

UserInterfaceRecorder::~UserInterfaceRecorder() {
    SetMessageFunction(std::move(previousMessage));
    SetOpenFileFunction(std::move(previousOpen));
}

}  // namespace tessary::test
