// An open file descriptor, closed with its owner, and whole writes to one.
#pragma once

#include <string_view>

namespace tessary {

class FileDescriptor {
  public:
    explicit FileDescriptor(int fd = -1) : fd_(fd) {}
    ~FileDescriptor();
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int Get() const { return fd_; }
    // Closes the one held and holds fd.
    void Reset(int fd);

  private:
    int fd_;
};

// Writes all bytes, going on after interruptions; false on an error (errno
// tells which).
bool WriteAll(int fd, std::string_view bytes);

}  // namespace tessary
