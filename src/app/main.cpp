#include <QApplication>

#include "app/MainWindow.h"
#include "app/ProgramIcon.h"
#include "app/ScreenshotTour.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName("tessary");
    QApplication::setWindowIcon(tessary::ProgramIcon());

    tessary::MainWindow window;
    // Only for the documentation's screenshots: see ScreenshotTour.h.
    tessary::StartScreenshotTourIfAsked(window);
    window.exec();
    return 0;
}
