// Drives the real modal dialogs of a command: each step runs once on the next
// modal dialog that becomes active, and usually closes it. A short repeating
// timer looks for it, and keeps firing inside the dialogs' own event loops.
// A dialog without a step, or still open after kGiveUpTicks, is rejected and
// reported, so a test fails instead of hanging.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "app/ControlIds.h"

namespace tessary::test {

class ModalScript {
  public:
    using Step = std::function<void(QWidget* dialog)>;
    static constexpr int kTickMilliseconds = 10;
    static constexpr int kGiveUpTicks = 500;

    ModalScript() : ignored(QApplication::activeModalWidget()) {
        QObject::connect(&timer, &QTimer::timeout, [this] { Tick(); });
        timer.start(kTickMilliseconds);
    }
    ModalScript& Then(Step step) {
        steps.push_back(std::move(step));
        return *this;
    }
    // Every step ran and no dialog came without one.
    bool Done() const { return steps.empty() && unexpected.empty(); }

  private:
    void Tick() {
        QWidget* dialog = QApplication::activeModalWidget();
        if (dialog == nullptr || dialog == ignored) {
            return;
        }
        const bool stuck = dialog == lastDialog && ++idleTicks > kGiveUpTicks;
        if (stuck || (dialog != lastDialog && steps.empty())) {
            unexpected.push_back((stuck ? "stuck: " : "") +
                                 std::string(dialog->metaObject()->className()));
            if (auto* extra = qobject_cast<QDialog*>(dialog)) {
                extra->reject();
            }
        } else if (dialog != lastDialog) {
            lastDialog = dialog;
            idleTicks = 0;
            // Outside this timer's slot: a step may open the next dialog right away.
            QTimer::singleShot(0, dialog,
                               [step = std::move(steps.front()), dialog] { step(dialog); });
            steps.pop_front();
        }
    }

    QTimer timer;
    std::deque<Step> steps;
    QPointer<QWidget> lastDialog;  // null again once that dialog is destroyed
    QWidget* ignored = nullptr;    // the modal window active at the start
    int idleTicks = 0;
    std::vector<std::string> unexpected;
};

// Sent to the dialog's focus widget.
inline void PressKey(QWidget* dialog, int key) {
    QWidget* target = dialog->focusWidget() != nullptr ? dialog->focusWidget() : dialog;
    QTest::keyClick(target, static_cast<Qt::Key>(key));
}

inline void SetText(QWidget* dialog, int id, const QString& text) {
    FindControl<QLineEdit>(*dialog, id)->setText(text);
}

// The ids of the controls that Tab visits in a window, from `first`.
inline std::vector<int> TabOrder(QWidget* first) {
    std::vector<int> names;
    QWidget* widget = first;
    do {
        if ((widget->focusPolicy() & Qt::TabFocus) != 0 && widget->isVisibleTo(first->window())) {
            names.push_back(widget->objectName().toInt());
        }
        widget = widget->nextInFocusChain();
    } while (widget != first);
    return names;
}

}  // namespace tessary::test
