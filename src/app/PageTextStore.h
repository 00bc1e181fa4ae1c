// What the viewer keeps per page: the line width each page is laid out at and
// the text of each page the user has left, edits included. Only the pages that
// differ from the default (DefaultLineWidth, nothing kept) have an entry, so a
// document that claims two billion pages costs nothing until they are visited.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>

namespace tessary {

// Calls with an index outside 0 ... page count - 1 change nothing and read the
// defaults.
class PageTextStore {
  public:
    // A page count below 0 counts as 0.
    explicit PageTextStore(std::int32_t pageCount);

    std::int32_t GetPageCount() const { return pageCount; }
    bool IsPage(std::int64_t index) const { return index >= 0 && index < pageCount; }

    // The line width of a page: DefaultLineWidth unless set otherwise.
    std::int32_t GetWidth(std::int32_t index) const;
    void SetWidth(std::int32_t index, std::int32_t width);

    // The kept text of a page in the output code page; empty when nothing is kept.
    const std::string& GetText(std::int32_t index) const;
    // Keeps the text; an empty text means nothing kept.
    void SetText(std::int32_t index, std::string text);

    // Entries held, for tests of the sparse storage.
    std::size_t GetEntryCount() const { return widths.size() + texts.size(); }

  private:
    std::int32_t pageCount;
    std::unordered_map<std::int32_t, std::int32_t> widths;
    std::unordered_map<std::int32_t, std::string> texts;
};

}  // namespace tessary
