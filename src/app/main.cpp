#include <QApplication>
#include <QFile>
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/MainWindow.h"
#include "app/ProgramIcon.h"
#include "app/StartupCommandLine.h"

namespace {

// The arguments after the program name.
std::vector<std::string> Arguments(int argc, char** argv) {
    return std::vector<std::string>(argv + std::min(argc, 1), argv + argc);
}

// Help, version and mistakes of the command line, answered without a display;
// -1 when the program is to run.
int AnswerCommandLine(const tessary::StartupCommandLine& parsed) {
    using Action = tessary::StartupCommandLine::Action;
    switch (parsed.action) {
        case Action::ShowHelp:
            std::fputs(tessary::StartupUsageText().c_str(), stdout);
            return 0;
        case Action::ShowVersion:
            std::fputs(tessary::StartupVersionText().c_str(), stdout);
            return 0;
        case Action::UsageError:
            std::fprintf(stderr, "%s: %s\nTry '%s --help' for more information.\n",
                         tessary::kProgramName, parsed.error.c_str(), tessary::kProgramName);
            return 2;
        case Action::Run:
            break;
    }
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
    // --help and --version before the application object, which needs a display.
    const tessary::StartupCommandLine early =
        tessary::ParseStartupCommandLine(Arguments(argc, argv));
    if (early.action != tessary::StartupCommandLine::Action::UsageError) {
        if (const int status = AnswerCommandLine(early); status >= 0) {
            return status;
        }
    }

    QApplication application(argc, argv);  // takes Qt's own options out of argv
    QApplication::setApplicationName(tessary::kProgramName);
    QApplication::setWindowIcon(tessary::ProgramIcon());
    const tessary::StartupCommandLine parsed =
        tessary::ParseStartupCommandLine(Arguments(argc, argv));
    if (const int status = AnswerCommandLine(parsed); status >= 0) {
        return status;
    }

    tessary::MainWindow window;
    if (!parsed.file.empty()) {
        window.ViewSoon(QFile::decodeName(QByteArray::fromStdString(parsed.file)));
    }
    window.exec();
    return 0;
}
