#include "app/PageTextFile.h"

#include <cstdio>
#include <string_view>

#include "text/TextFileConversion.h"

namespace tessary {

namespace {

bool WriteBytes(std::FILE* file, std::string_view bytes) {
    return std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
}

}  // namespace

PageFileResult WritePageTextFile(const std::string& path, WriteMode mode, std::int64_t first,
                                 std::int64_t last, const PageTextSource& pageText) {
    std::FILE* file = std::fopen(path.c_str(), mode == WriteMode::Append ? "ab" : "wb");
    if (!file) {
        return PageFileResult::OpenFailed;
    }
    bool written = true;
    for (std::int64_t n = first; n <= last && written; ++n) {
        const auto index = static_cast<std::int32_t>(n);
        const std::optional<std::string> text = pageText(index);
        if (!text) {
            continue;
        }
        written = WriteBytes(file, PageHeader(index + 1)) && WriteBytes(file, *text) &&
                  WriteBytes(file, "\r\n");
    }
    // A full disk often shows only when the buffer is flushed.
    written = std::fflush(file) == 0 && std::ferror(file) == 0 && written;
    written = std::fclose(file) == 0 && written;
    return written ? PageFileResult::Written : PageFileResult::WriteFailed;
}

}  // namespace tessary
