// Runs the built tessary-convert (path in TESSARY_CONVERT) as a child process.
#pragma once

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "support/TestSupport.h"

namespace tessary::test {

// For a child process whose standard files are set up: runs the converter in `folder`.
[[noreturn]] inline void ExecConverter(std::vector<std::string> arguments,
                                       const std::string& folder) {
    arguments.insert(arguments.begin(), TESSARY_CONVERT);
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    if (chdir(folder.c_str()) == 0) {
        execv(argv[0], argv.data());
    }
    _exit(127);
}

// The exit status of the child, or minus the signal that ended it.
inline int WaitForChild(pid_t child) {
    int status = 0;
    if (child <= 0 || waitpid(child, &status, 0) != child) {
        return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
}

struct CliRun {
    int exitStatus = -1;
    std::string out, err;
};

// Standard input is a pipe that carries `input`, or the file at inputFile
// (neither is a terminal).
inline CliRun RunConverter(const std::vector<std::string>& arguments, const std::string& folder,
                           const std::string& input = "", const char* inputFile = nullptr) {
    TempDir capture;
    const std::string out = (capture.path / "out").string();
    const std::string err = (capture.path / "err").string();
    int pipeEnds[2] = {-1, -1};
    if (!inputFile && pipe(pipeEnds) != 0) {
        return {};
    }
    const pid_t child = fork();
    if (child == 0) {
        const int files[] = {inputFile ? open(inputFile, O_RDONLY) : pipeEnds[0],
                             open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600),
                             open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600)};
        for (int fd = 0; fd < 3; ++fd) {
            if (files[fd] < 0 || dup2(files[fd], fd) < 0) {
                _exit(127);
            }
        }
        if (!inputFile) {
            close(pipeEnds[1]);
        }
        ExecConverter(arguments, folder);
    }
    if (!inputFile) {
        close(pipeEnds[0]);
        // The converter reads all of its input before it writes anything.
        for (std::size_t done = 0; done < input.size();) {
            const ssize_t written = write(pipeEnds[1], input.data() + done, input.size() - done);
            if (written <= 0) {
                break;
            }
            done += static_cast<std::size_t>(written);
        }
        close(pipeEnds[1]);
    }
    return {WaitForChild(child), ReadFileBytes(out), ReadFileBytes(err)};
}

}  // namespace tessary::test
