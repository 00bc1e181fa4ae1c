#include "cli/TerminalPassword.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>

#include "cli/InterruptCleanup.h"

namespace tessary {

namespace {

void WriteAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t written = write(fd, text.data() + done, text.size() - done);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return;
        }
        done += static_cast<std::size_t>(written);
    }
}

class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) {
            close(fd_);
        }
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int Get() const { return fd_; }

  private:
    int fd_;
};

}  // namespace

std::optional<std::string> ReadPasswordLine(int fd) {
    std::string line;
    bool anything = false;
    for (;;) {
        char byte;
        const ssize_t count = read(fd, &byte, 1);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            if (anything && count == 0) {
                return line;
            }
            return std::nullopt;
        }
        anything = true;
        if (byte == '\n') {
            return line;
        }
        if (line.size() < kMaxPasswordLength) {
            line += byte;
        }
    }
}

std::optional<std::string> AskPasswordOnTerminal(const std::string& prompt) {
    FileDescriptor terminal(open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC));
    if (terminal.Get() < 0) {
        return std::nullopt;
    }
    termios saved;
    const bool canHide = tcgetattr(terminal.Get(), &saved) == 0;
    if (canHide) {
        termios hidden = saved;
        hidden.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHOE | ECHOK);
        hidden.c_lflag |= ECHONL;
        SetTerminalToRestore(terminal.Get(), saved);
        tcsetattr(terminal.Get(), TCSAFLUSH, &hidden);
    }
    WriteAll(terminal.Get(), prompt);
    std::optional<std::string> password = ReadPasswordLine(terminal.Get());
    if (canHide) {
        tcsetattr(terminal.Get(), TCSAFLUSH, &saved);
        ClearTerminalToRestore();
    }
    if (!password) {
        WriteAll(terminal.Get(), "\n");  // Ctrl-D left the cursor after the prompt
    }
    return password;
}

}  // namespace tessary
