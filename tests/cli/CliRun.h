// Runs the built tessary-convert (path in TESSARY_CONVERT) as a child process.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace tessary::test {

struct CliRun {
    int exitStatus = -1;  // -1 when the child didn't exit normally
    std::string out;      // standard output
    std::string err;      // standard error
};

// Standard input is /dev/null (not a terminal); the child runs in `folder`.
CliRun RunConverter(const std::vector<std::string>& arguments, const std::string& folder = ".");

// Execs the converter with the arguments in `folder`; for a child process
// whose standard files are already set up. Never returns.
[[noreturn]] void ExecConverter(const std::vector<std::string>& arguments,
                                const std::string& folder);

// The exit status of the child, or minus the signal that ended it.
int WaitForChild(pid_t child);

}  // namespace tessary::test
