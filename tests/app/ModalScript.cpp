#include "ModalScript.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace tessary::test {

namespace {
constexpr int kTickMilliseconds = 10;
}

ModalScript::ModalScript() : ignored(QApplication::activeModalWidget()) {
    QObject::connect(&timer, &QTimer::timeout, [this] { Tick(); });
    timer.start(kTickMilliseconds);
}

ModalScript::~ModalScript() = default;

ModalScript& ModalScript::Then(Step step) {
    steps.push_back(std::move(step));
    return *this;
}

void ModalScript::Tick() {
    QWidget* dialog = QApplication::activeModalWidget();
    if (dialog == nullptr || dialog == ignored || dialog == lastDialog) {
        if (dialog != nullptr && dialog != ignored &&
            ++idleTicks * kTickMilliseconds > kGiveUpMilliseconds) {
            unexpected.push_back(std::string("stuck: ") + dialog->metaObject()->className());
            if (auto* stuck = qobject_cast<QDialog*>(dialog)) {
                stuck->reject();
            }
        }
        return;
    }
    lastDialog = dialog;
    idleTicks = 0;
    if (steps.empty()) {
        unexpected.push_back(dialog->metaObject()->className());
        if (auto* extra = qobject_cast<QDialog*>(dialog)) {
            extra->reject();
        }
        return;
    }
    // Run outside this timer's slot: Qt doesn't fire a timer again while its
    // slot runs, and a step may open the next dialog right away.
    QTimer::singleShot(0, dialog, [step = std::move(steps.front()), dialog] { step(dialog); });
    steps.pop_front();
}

void PressKey(QWidget* dialog, int key) {
    QWidget* target = dialog->focusWidget() != nullptr ? dialog->focusWidget() : dialog;
    QTest::keyClick(target, static_cast<Qt::Key>(key));
}

void ClickButton(QWidget* dialog, const char* objectName) {
    auto* button = dialog->findChild<QPushButton*>(objectName);
    if (button != nullptr) {
        button->click();
    }
}

void SetText(QWidget* dialog, const char* objectName, const QString& text) {
    if (auto* box = dialog->findChild<QLineEdit*>(objectName)) {
        box->setText(text);
    }
}

std::vector<std::string> TabOrder(QWidget* first) {
    std::vector<std::string> names;
    QWidget* widget = first;
    do {
        if ((widget->focusPolicy() & Qt::TabFocus) != 0 && widget->isVisibleTo(first->window())) {
            names.push_back(widget->objectName().toStdString());
        }
        widget = widget->nextInFocusChain();
    } while (widget != first);
    return names;
}

}  // namespace tessary::test
