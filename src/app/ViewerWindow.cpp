#include "app/ViewerWindow.h"

namespace tessary {

// Placeholder until the viewer lands.
ViewerWindow::ViewerWindow(PdfObjectStore&, std::int32_t, const QString&, QWidget* owner)
    : QDialog(owner) {}

ViewerWindow::~ViewerWindow() = default;

}  // namespace tessary
