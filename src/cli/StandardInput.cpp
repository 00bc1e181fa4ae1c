#include "cli/StandardInput.h"

#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "cli/FileDescriptor.h"

namespace tessary {

namespace {

std::string SystemMessage(int error) {
    return std::error_code(error, std::generic_category()).message();
}

std::string FdPath(int fd) {
    return "/proc/self/fd/" + std::to_string(fd);
}

}  // namespace

StandardInput::StandardInput(int fd, std::int64_t limit) {
    struct stat info;
    if (fstat(fd, &info) != 0) {
        Fail(SystemMessage(errno));
        return;
    }
    // A regular file is read where it is, from its start, like a named one.
    if (S_ISREG(info.st_mode)) {
        path_ = FdPath(fd);
        return;
    }
    memory_.Reset(memfd_create("standard-input", MFD_CLOEXEC));
    if (memory_.Get() < 0) {
        Fail(SystemMessage(errno));
        return;
    }
    char buffer[64 * 1024];
    std::int64_t total = 0;
    for (;;) {
        const ssize_t count = read(fd, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0) {
            Fail(SystemMessage(errno));
            return;
        }
        if (count == 0) {
            break;
        }
        total += count;
        if (total > limit) {
            Fail("More than " + std::to_string(limit) +
                 " bytes on standard input; give the PDF file by its name.");
            return;
        }
        if (!WriteAll(memory_.Get(), std::string_view(buffer, static_cast<std::size_t>(count)))) {
            Fail(SystemMessage(errno));
            return;
        }
    }
    path_ = FdPath(memory_.Get());
}

void StandardInput::Fail(std::string error) {
    error_ = std::move(error);
    path_.clear();
}

}  // namespace tessary
