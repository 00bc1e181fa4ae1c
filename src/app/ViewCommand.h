// The View command: opens a PDF file that the user picks in the page viewer.
#pragma once

class QWidget;

namespace tessary {

// Asks for the PDF file, opens it (asking for a password if needed), and shows
// the viewer over its pages, owned by `owner`, until the user closes it. The
// document is closed afterwards. Failures end the command with a message box.
void ViewPdfFile(QWidget* owner);

}  // namespace tessary
