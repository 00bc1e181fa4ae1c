// Drives the real modal dialogs of a command: each step is run once on the
// next modal dialog that becomes active, and usually closes it. A short
// repeating timer looks for it, and keeps firing inside the dialogs' own
// event loops.
#pragma once

#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace tessary::test {

class ModalScript {
  public:
    using Step = std::function<void(QWidget* dialog)>;

    // A dialog that is still open after kGiveUpMilliseconds without a step
    // for it is rejected, so a test fails instead of hanging.
    static constexpr int kGiveUpMilliseconds = 5000;

    ModalScript();
    ~ModalScript();

    ModalScript& Then(Step step);
    // Steps not run yet, and the class names of dialogs that came without one.
    std::size_t PendingSteps() const { return steps.size(); }
    const std::vector<std::string>& Unexpected() const { return unexpected; }

  private:
    void Tick();

    QTimer timer;
    std::deque<Step> steps;
    QPointer<QWidget> lastDialog;  // null again once that dialog is destroyed
    QWidget* ignored = nullptr;    // the modal window active at the start
    int idleTicks = 0;
    std::vector<std::string> unexpected;
};

// Steps for the usual answers.
void PressKey(QWidget* dialog, int key);  // sent to the dialog's focus widget
void ClickButton(QWidget* dialog, const char* objectName);
void SetText(QWidget* dialog, const char* objectName, const QString& text);

// The object names of the controls that Tab visits in a window, in order,
// from `first`.
std::vector<std::string> TabOrder(QWidget* first);

}  // namespace tessary::test
