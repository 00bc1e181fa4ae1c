// Asking for a password on the terminal, without echo.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace tessary {

// The longest password kept; the rest of a longer line is read and dropped.
// (The standard security handler uses only the first 32 bytes anyway.)
inline constexpr std::size_t kMaxPasswordLength = 1024;

// One line from fd, without its line end, cut to kMaxPasswordLength bytes.
// Absent at end of input before any byte, or on a read error: the user
// cancelled.
std::optional<std::string> ReadPasswordLine(int fd);

// Writes the prompt to /dev/tty, reads a line there with echo off and puts the
// echo back (also on SIGINT and the like). Absent when there is no terminal or
// the user ended the input (Ctrl-D).
std::optional<std::string> AskPasswordOnTerminal(const std::string& prompt);

}  // namespace tessary
