#include "app/BusyCursor.h"

#include <QApplication>
#include <QCursor>

namespace tessary {

BusyCursor::BusyCursor() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

BusyCursor::~BusyCursor() {
    Release();
}

void BusyCursor::Release() {
    if (active) {
        QApplication::restoreOverrideCursor();
        active = false;
    }
}

// Override cursors form a stack: the arrow goes on top of the wait cursor and
// comes off again when the box has closed.
NormalCursor::NormalCursor() {
    if (QApplication::overrideCursor() != nullptr) {
        QApplication::setOverrideCursor(Qt::ArrowCursor);
        active = true;
    }
}

NormalCursor::~NormalCursor() {
    if (active) {
        QApplication::restoreOverrideCursor();
    }
}

}  // namespace tessary
