// A PDF file opened for reading: its size, single bytes through a small
// window (the tokenizer's diet), blocks of bytes (stream data), and searches
// for markers near the end of the file.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace tessary {

class PdfFile {
  public:
    // false when the file can't be opened or its size can't be told.
    bool Open(const std::string& path);
    void Close();
    bool IsOpen() const { return handle != nullptr; }
    std::int64_t GetSize() const { return size; }

    // One byte at an absolute position; false outside the file.
    bool ReadByte(std::uint8_t& out, std::int64_t position);
    // `length` bytes at `position` into out (resized). The bounds are checked
    // before anything is allocated, so a length taken from the file can't
    // claim more memory than the file holds. A block may not end exactly at
    // the end of the file (stream data is always followed by "endstream").
    bool ReadBlock(std::string& out, std::int64_t length, std::int64_t position);
    // Up to `length` bytes at `position` into out (resized to what was read).
    void ReadAvailable(std::string& out, std::int64_t length, std::int64_t position);

    // The offset of the last occurrence of `marker` that starts after offset
    // 0 and before `limit`, or 0.
    std::int64_t FindLastMarker(std::string_view marker, std::int64_t limit);

    // The parser's reader callbacks; `self` is the PdfFile.
    static bool ReadByteCallback(std::uint8_t& out, void* self, std::int64_t position);
    static bool ReadBlockCallback(std::string& out, std::int64_t length, void* self,
                                  std::int64_t position);

  private:
    struct FileCloser {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    bool SeekTo(std::int64_t position);

    static constexpr std::size_t kWindowSize = 512;

    std::unique_ptr<std::FILE, FileCloser> handle;
    std::int64_t size = 0;
    std::array<std::uint8_t, kWindowSize> window{};
    std::int64_t windowStart = 0;
    std::int64_t windowLength = 0;
};

}  // namespace tessary
