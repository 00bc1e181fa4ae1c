// A PDF file given on standard input, made readable by a path like any file:
// standard input itself when it is a regular file, otherwise its bytes read
// whole into an anonymous file in memory, which disappears with the process.
#pragma once

#include <cstdint>
#include <string>

#include "cli/CliLimits.h"
#include "cli/FileDescriptor.h"

namespace tessary {

class StandardInput {
  public:
    // Reads fd to its end, at most limit bytes.
    explicit StandardInput(int fd, std::int64_t limit = kMaxStandardInputSize);
    StandardInput(const StandardInput&) = delete;
    StandardInput& operator=(const StandardInput&) = delete;

    // The path to open; empty when the bytes couldn't be read.
    const std::string& GetPath() const { return path_; }
    // Why not, when GetPath is empty.
    const std::string& GetError() const { return error_; }

  private:
    void Fail(std::string error);

    FileDescriptor memory_;  // holds the bytes of a pipe or a terminal
    std::string path_;
    std::string error_;
};

}  // namespace tessary
