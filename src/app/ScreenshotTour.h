// The pictures of the documentation, taken by the program itself.
//
// When the environment variable TESSARY_SCREENSHOT names a folder, the
// program walks through its windows on its own and saves each one there as a
// PNG file, then ends: main-window.png; password-dialog.png (View on the
// encrypted file named by TESSARY_SCREENSHOT_ENCRYPTED, then Cancel);
// viewer.png (View on the file named by TESSARY_SCREENSHOT_PDF) and
// save-dialog.png (its Save button). scripts/take-screenshots runs it in a
// virtual X server. Without the variable nothing of this runs; the program
// otherwise reads no environment.
#pragma once

namespace tessary {

class MainWindow;

void StartScreenshotTourIfAsked(MainWindow& window);

}  // namespace tessary
