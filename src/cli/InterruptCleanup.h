// What an interrupted run must not leave behind: a terminal without echo (a
// password was being typed) and a half-written text file. SIGINT, SIGTERM and
// SIGHUP undo both, then end the process as the signal would have.
#pragma once

#include <termios.h>

namespace tessary {

// Installs the handlers, except for signals the process was told to ignore.
void InstallInterruptCleanup();

// The text file being written, removed on interrupt if it is a regular file;
// nullptr when none is. The string must live until it is cleared.
void SetPartialOutput(const char* path);

// The terminal settings to put back on interrupt; ClearTerminalToRestore
// once they are back.
void SetTerminalToRestore(int fd, const termios& settings);
void ClearTerminalToRestore();

}  // namespace tessary
