// The View command: opens a PDF file in the page viewer.
#pragma once

#include <QString>

class QWidget;

namespace tessary {

// Asks for the PDF file, then views it as ViewPdfPath does.
void ViewPdfFile(QWidget* owner);

// Opens the PDF file at path (asking for a password if needed) and shows the
// viewer over its pages, owned by `owner`, until the user closes it. The
// document is closed afterwards. Failures end the command with a message box.
void ViewPdfPath(QWidget* owner, const QString& path);

}  // namespace tessary
