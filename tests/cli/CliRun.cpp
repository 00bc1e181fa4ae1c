#include "CliRun.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/PdfBuilder.h"

namespace tessary::test {

void ExecConverter(const std::vector<std::string>& arguments, const std::string& folder) {
    std::vector<std::string> copies = arguments;
    std::string program = TESSARY_CONVERT;
    std::vector<char*> argv{program.data()};
    for (std::string& argument : copies) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    if (chdir(folder.c_str()) == 0) {
        execv(argv[0], argv.data());
    }
    _exit(127);
}

int WaitForChild(pid_t child) {
    int status = 0;
    if (child <= 0 || waitpid(child, &status, 0) != child) {
        return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
}

CliRun RunConverter(const std::vector<std::string>& arguments, const std::string& folder) {
    TempDir capture;
    const std::string outPath = (capture.Path() / "out").string();
    const std::string errPath = (capture.Path() / "err").string();
    const pid_t child = fork();
    if (child == 0) {
        const int in = open("/dev/null", O_RDONLY);
        const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (in < 0 || out < 0 || err < 0 || dup2(in, 0) < 0 || dup2(out, 1) < 0 ||
            dup2(err, 2) < 0) {
            _exit(127);
        }
        ExecConverter(arguments, folder);
    }
    CliRun run;
    const int status = WaitForChild(child);
    run.exitStatus = status >= 0 ? status : -1;
    run.out = ReadFileBytes(outPath);
    run.err = ReadFileBytes(errPath);
    return run;
}

}  // namespace tessary::test
