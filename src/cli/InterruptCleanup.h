// What an interrupted run must not leave behind: a terminal without echo (a
// password was being typed) and half-written text files. SIGINT, SIGTERM and
// SIGHUP undo both, then end the process as the signal would have.
#pragma once

#include <termios.h>

#include <functional>

namespace tessary {

// Installs the handlers, except for signals the process was told to ignore.
void InstallInterruptCleanup();

// Runs create, which creates the text file at path, and when it succeeds
// marks that file as the incomplete output of conversion slot (0 ...
// kMaxJobs - 1, one per conversion running at once), to be removed on
// interrupt if it is a regular file. No interrupt can come in between and
// leave the file behind. path must live until ClearPartialOutput.
bool CreatePartialOutput(int slot, const char* path, const std::function<bool()>& create);
// The slot's file is complete, or gone.
void ClearPartialOutput(int slot);

// The terminal settings to put back on interrupt; ClearTerminalToRestore
// once they are back.
void SetTerminalToRestore(int fd, const termios& settings);
void ClearTerminalToRestore();

}  // namespace tessary
