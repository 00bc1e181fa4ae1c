#include "app/DialogKeys.h"

#include <QKeyEvent>
#include <QPushButton>
#include <QWidget>

namespace tessary {

bool PressFocusedButton(QWidget* dialog, QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (!enter || (event->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) {
        return false;
    }
    auto* button = qobject_cast<QPushButton*>(dialog->focusWidget());
    if (button == nullptr || !button->isEnabled() || !button->isVisible()) {
        return false;
    }
    button->click();
    return true;
}

}  // namespace tessary
