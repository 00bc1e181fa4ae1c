// The command line of the tessary program: at most one PDF file, which the
// viewer opens at start as if View had been pressed and the file chosen, and
// --help and --version. (Qt's own options, such as -platform, are taken out
// by the application object before this sees the arguments.)
#pragma once

#include <string>
#include <vector>

namespace tessary {

inline constexpr const char* kProgramName = "tessary";

struct StartupCommandLine {
    enum class Action { Run, ShowHelp, ShowVersion, UsageError };
    Action action = Action::Run;
    std::string file;   // empty: none
    std::string error;  // for UsageError: what is wrong, without the program name
};

// arguments: argv without the program name. --help and --version act as
// soon as they are met; "--" ends the options.
StartupCommandLine ParseStartupCommandLine(const std::vector<std::string>& arguments);

std::string StartupUsageText();
std::string StartupVersionText();

}  // namespace tessary
