#include "app/StartupCommandLine.h"

namespace tessary {

StartupCommandLine ParseStartupCommandLine(const std::vector<std::string>& arguments) {
    StartupCommandLine parsed;
    auto fail = [&parsed](std::string error) {
        parsed.action = StartupCommandLine::Action::UsageError;
        parsed.error = std::move(error);
        return parsed;
    };
    bool optionsEnded = false;
    for (const std::string& argument : arguments) {
        if (!optionsEnded && argument == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && (argument == "-h" || argument == "--help")) {
            parsed.action = StartupCommandLine::Action::ShowHelp;
            return parsed;
        } else if (!optionsEnded && (argument == "-V" || argument == "--version")) {
            parsed.action = StartupCommandLine::Action::ShowVersion;
            return parsed;
        } else if (!optionsEnded && argument.size() > 1 && argument[0] == '-') {
            return fail("unknown option " + argument);
        } else if (!parsed.file.empty()) {
            return fail("one PDF file at a time, not two: " + parsed.file + " and " + argument);
        } else if (argument.empty()) {
            return fail("an empty file name");
        } else {
            parsed.file = argument;
        }
    }
    return parsed;
}

std::string StartupUsageText() {
    return std::string("Usage: ") + kProgramName +
           " [FILE.pdf]\n"
           "Show the main window of Tessary, which converts the pages of PDF files into\n"
           "text files and views them as plain text. With FILE.pdf, the viewer opens on it\n"
           "at once, over the main window, as if View had been pressed and FILE.pdf chosen.\n"
           "\n"
           "  -h, --help     show this help and exit\n"
           "  -V, --version  show the version and exit\n"
           "\n"
           "Qt's options, such as -platform NAME, are taken as well.\n";
}

std::string StartupVersionText() {
    return std::string(kProgramName) + " " TESSARY_VERSION "\n";
}

}  // namespace tessary
