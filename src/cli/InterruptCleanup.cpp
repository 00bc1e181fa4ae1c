#include "cli/InterruptCleanup.h"

#include <signal.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <atomic>

#include "cli/CliLimits.h"

namespace tessary {

namespace {

constexpr int kCleanedSignals[] = {SIGINT, SIGTERM, SIGHUP};

// How long the handler waits for another thread to finish creating a file,
// in milliseconds: long enough for any local file system, short enough that
// a hung one can't keep the process from ending.
constexpr int kCreateWaitMilliseconds = 2000;

// Read by the handler, so nothing here may need a lock.
struct PartialOutput {
    std::atomic<const char*> path{nullptr};
    std::atomic<bool> creating{false};
};
PartialOutput partialOutputs[kMaxJobs];
std::atomic<int> terminalFd{-1};
termios savedTerminal{};

sigset_t CleanedSignalSet() {
    sigset_t set;
    sigemptyset(&set);
    for (int signalNumber : kCleanedSignals) {
        sigaddset(&set, signalNumber);
    }
    return set;
}

void RemoveIfRegularFile(const char* path) {
    struct stat info;
    if (stat(path, &info) == 0 && S_ISREG(info.st_mode)) {
        unlink(path);
    }
}

extern "C" void OnInterrupt(int signalNumber) {
    const int fd = terminalFd.load();
    if (fd >= 0) {
        tcsetattr(fd, TCSAFLUSH, &savedTerminal);
    }
    for (PartialOutput& output : partialOutputs) {
        // A thread creating its file has these signals blocked, so it isn't
        // this one; it registers the file as soon as it exists.
        for (int waited = 0; output.creating.load() && waited < kCreateWaitMilliseconds; ++waited) {
            const timespec millisecond{0, 1000 * 1000};
            nanosleep(&millisecond, nullptr);
        }
        if (const char* path = output.path.load()) {
            RemoveIfRegularFile(path);
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
        action.sa_mask = CleanedSignalSet();  // one cleanup at a time in a thread
        sigaction(signalNumber, &action, nullptr);
    }
}

bool CreatePartialOutput(int slot, const char* path, const std::function<bool()>& create) {
    if (slot < 0 || slot >= kMaxJobs) {
        return create();
    }
    PartialOutput& output = partialOutputs[slot];
    const sigset_t cleaned = CleanedSignalSet();
    sigset_t previous;
    pthread_sigmask(SIG_BLOCK, &cleaned, &previous);
    output.creating.store(true);
    const bool created = create();
    if (created) {
        output.path.store(path);
    }
    output.creating.store(false);
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    return created;
}

void ClearPartialOutput(int slot) {
    if (slot >= 0 && slot < kMaxJobs) {
        partialOutputs[slot].path.store(nullptr);
    }
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
