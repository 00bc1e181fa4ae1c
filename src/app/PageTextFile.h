// Writing a range of pages to a text file in the format Convert writes: page
// header, the page's text, one more CR LF.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace tessary {

enum class WriteMode { Overwrite = 0, Append = 1 };

enum class PageFileResult {
    Written,
    OpenFailed,   // "Could not open the file for writting."
    WriteFailed,  // "Could not write the file."
};

// The text of a page (each line followed by CR LF, or the user's text as it
// stands), or absent when the page doesn't exist and is skipped.
using PageTextSource = std::function<std::optional<std::string>(std::int32_t index)>;

// Writes the pages first ... last (zero-based, inclusive; none when first >
// last) to the file at path, created or truncated (Overwrite) or appended to
// (Append). A failed write stops the loop; nothing written is removed.
PageFileResult WritePageTextFile(const std::string& path, WriteMode mode, std::int64_t first,
                                 std::int64_t last, const PageTextSource& pageText);

}  // namespace tessary
