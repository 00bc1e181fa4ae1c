#include "pdf/PdfFile.h"

#include <sys/stat.h>

#include <algorithm>

namespace tessary {

bool PdfFile::Open(const std::string& path) {
    Close();
    handle.reset(std::fopen(path.c_str(), "rb"));
    // Only a regular file has a size to search from its end: a folder opens,
    // but reports an end at the largest offset there is.
    struct stat info;
    if (!handle || fstat(fileno(handle.get()), &info) != 0 || !S_ISREG(info.st_mode) ||
        fseeko(handle.get(), 0, SEEK_END) != 0) {
        Close();
        return false;
    }
    size = ftello(handle.get());
    if (size < 0) {
        Close();
        return false;
    }
    return true;
}

void PdfFile::Close() {
    handle.reset();
    size = 0;
    windowStart = 0;
    windowLength = 0;
}

bool PdfFile::SeekTo(std::int64_t position) {
    return fseeko(handle.get(), static_cast<off_t>(position), SEEK_SET) == 0;
}

bool PdfFile::ReadByte(std::uint8_t& out, std::int64_t position) {
    if (position < 0 || position >= size || !handle) {
        return false;
    }
    if (position < windowStart || position >= windowStart + windowLength) {
        if (!SeekTo(position)) {
            return false;
        }
        const std::size_t got = std::fread(window.data(), 1, kWindowSize, handle.get());
        windowStart = position;
        windowLength = static_cast<std::int64_t>(got);
        if (got == 0) {
            return false;
        }
    }
    out = window[static_cast<std::size_t>(position - windowStart)];
    return true;
}

bool PdfFile::ReadBlock(std::string& out, std::int64_t length, std::int64_t position) {
    if (!handle || length < 0 || position < 0 || position >= size - length) {
        return false;
    }
    out.resize(static_cast<std::size_t>(length));
    if (length == 0) {
        return true;
    }
    return SeekTo(position) && std::fread(out.data(), 1, out.size(), handle.get()) == out.size();
}

void PdfFile::ReadAvailable(std::string& out, std::int64_t length, std::int64_t position) {
    out.clear();
    if (!handle || length <= 0 || position < 0 || position >= size) {
        return;
    }
    out.resize(static_cast<std::size_t>(std::min(length, size - position)));
    if (!SeekTo(position)) {
        out.clear();
        return;
    }
    out.resize(std::fread(out.data(), 1, out.size(), handle.get()));
}

std::int64_t PdfFile::FindLastMarker(std::string_view marker, std::int64_t limit) {
    // Scans backwards in blocks; the result is the largest candidate offset
    // c with 0 < c < limit whose bytes are the marker.
    constexpr std::int64_t kBlock = 64 * 1024;
    const auto markerLength = static_cast<std::int64_t>(marker.size());
    std::string block;
    std::int64_t blockEnd = std::min(limit + markerLength - 1, size);
    while (handle && blockEnd - markerLength >= 1) {
        const std::int64_t blockStart = std::max<std::int64_t>(1, blockEnd - kBlock);
        block.resize(static_cast<std::size_t>(blockEnd - blockStart));
        if (!SeekTo(blockStart) ||
            std::fread(block.data(), 1, block.size(), handle.get()) != block.size()) {
            return 0;
        }
        const std::size_t found = std::string_view(block).rfind(marker);
        if (found != std::string_view::npos) {
            const std::int64_t candidate = blockStart + static_cast<std::int64_t>(found);
            if (candidate < limit) {
                return candidate;
            }
        }
        if (blockStart == 1) {
            break;
        }
        // Overlap by the marker's length less one, so a marker across the
        // block boundary is still seen.
        blockEnd = blockStart + markerLength - 1;
    }
    return 0;
}

bool PdfFile::ReadByteCallback(std::uint8_t& out, void* self, std::int64_t position) {
    return static_cast<PdfFile*>(self)->ReadByte(out, position);
}

bool PdfFile::ReadBlockCallback(std::string& out, std::int64_t length, void* self,
                                std::int64_t position) {
    return static_cast<PdfFile*>(self)->ReadBlock(out, length, position);
}

}  // namespace tessary
