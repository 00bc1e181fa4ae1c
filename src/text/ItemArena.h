// Storage for the texts and styles of a line's items that never moves what
// it holds: items keep views into it while their line grows, and a line that
// takes in another takes over its storage whole.
#pragma once

#include <cstddef>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

#include "text/TextItem.h"

namespace tessary {

class ItemArena {
  public:
    // A copy of text that lives as long as the arena (or the one that takes
    // it over). Inline: every character shown on a page comes through here.
    std::string_view CopyText(std::string_view text) {
        if (text.empty() || text.size() > left_) {
            return CopyTextToNewBlock(text);
        }
        char* copy = reinterpret_cast<char*>(next_);
        std::memcpy(copy, text.data(), text.size());
        next_ += text.size();
        left_ -= text.size();
        return {copy, text.size()};
    }
    const ItemStyle* AddStyle(const ItemStyle& style);
    // Takes over every block of other, which is left empty.
    void TakeOver(ItemArena&& other);

  private:
    std::string_view CopyTextToNewBlock(std::string_view text);
    void* Allocate(std::size_t size, std::size_t alignment);

    std::vector<std::unique_ptr<std::byte[]>> blocks_;
    std::byte* next_ = nullptr;
    std::size_t left_ = 0;
    std::size_t nextBlockSize_ = 0;
};

}  // namespace tessary
