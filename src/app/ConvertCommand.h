// The Convert command: every page of a PDF file that the user picks into a
// text file of the same name with the extension ".txt".
#pragma once

class QWidget;

namespace tessary {

// Asks for the PDF file, converts it at the default width in the system's
// code page under the busy cursor, and tells the outcome in a message box
// owned by `owner`. Cancelling the file choice does nothing.
void ConvertPdfFile(QWidget* owner);

}  // namespace tessary
