#include "cli/TerminalPassword.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>

#include "cli/FileDescriptor.h"
#include "cli/InterruptCleanup.h"

namespace tessary {

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
