#include "cli/InterruptCleanup.h"

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>

namespace tessary {

namespace {

constexpr int kCleanedSignals[] = {SIGINT, SIGTERM, SIGHUP};

// Read by the handler, so nothing here may need a lock.
std::atomic<const char*> partialOutput{nullptr};
std::atomic<int> terminalFd{-1};
termios savedTerminal{};

extern "C" void OnInterrupt(int signalNumber) {
    const int fd = terminalFd.load();
    if (fd >= 0) {
        tcsetattr(fd, TCSAFLUSH, &savedTerminal);
    }
    if (const char* path = partialOutput.load()) {
        struct stat info;
        if (stat(path, &info) == 0 && S_ISREG(info.st_mode)) {
            unlink(path);
        }
    }
    signal(signalNumber, SIG_DFL);
    raise(signalNumber);
}

}  // namespace

void InstallInterruptCleanup() {
    for (int signalNumber : kCleanedSignals) {
        struct sigaction current;
        if (sigaction(signalNumber, nullptr, &current) != 0 || current.sa_handler == SIG_IGN) {
            continue;
        }
        struct sigaction action {};
        action.sa_handler = OnInterrupt;
        sigemptyset(&action.sa_mask);
        for (int other : kCleanedSignals) {
            sigaddset(&action.sa_mask, other);  // one cleanup at a time
        }
        sigaction(signalNumber, &action, nullptr);
    }
}

void SetPartialOutput(const char* path) {
    partialOutput.store(path);
}

void SetTerminalToRestore(int fd, const termios& settings) {
    terminalFd.store(-1);
    savedTerminal = settings;
    terminalFd.store(fd);
}

void ClearTerminalToRestore() {
    terminalFd.store(-1);
}

}  // namespace tessary
