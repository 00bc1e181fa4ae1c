// Storage for the texts and styles of a line's items that never moves what
// it holds: items keep views into it while their line grows, and a line that
// takes in another takes over its storage whole.
#pragma once

#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

#include "text/TextItem.h"

namespace tessary {

class ItemArena {
  public:
    // A copy of text that lives as long as the arena (or the one that takes
    // it over).
    std::string_view CopyText(std::string_view text);
    const ItemStyle* AddStyle(const ItemStyle& style);
    // Takes over every block of other, which is left empty.
    void TakeOver(ItemArena&& other);

  private:
    void* Allocate(std::size_t size, std::size_t alignment);

    std::vector<std::unique_ptr<std::byte[]>> blocks_;
    std::byte* next_ = nullptr;
    std::size_t left_ = 0;
    std::size_t nextBlockSize_ = 0;
};

}  // namespace tessary
