#include "text/ItemArena.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <new>

namespace tessary {

namespace {

// Blocks start small (most lines hold tens of characters) and double up to
// the largest size; a larger request gets a block of its own size.
constexpr std::size_t kFirstBlockSize = 256;
constexpr std::size_t kMaxBlockSize = 64 * 1024;

}  // namespace

std::string_view ItemArena::CopyTextToNewBlock(std::string_view text) {
    if (text.empty()) {
        return {};
    }
    char* copy = static_cast<char*>(Allocate(text.size(), 1));
    std::memcpy(copy, text.data(), text.size());
    return {copy, text.size()};
}

const ItemStyle* ItemArena::AddStyle(const ItemStyle& style) {
    return new (Allocate(sizeof(ItemStyle), alignof(ItemStyle))) ItemStyle(style);
}

void ItemArena::TakeOver(ItemArena&& other) {
    if (&other == this) {
        return;
    }
    // Own free room stays in use; other's free room is given up.
    blocks_.insert(blocks_.end(), std::make_move_iterator(other.blocks_.begin()),
                   std::make_move_iterator(other.blocks_.end()));
    other.blocks_.clear();
    other.next_ = nullptr;
    other.left_ = 0;
}

void* ItemArena::Allocate(std::size_t size, std::size_t alignment) {
    // Alignments are powers of two.
    std::size_t pad = (0 - reinterpret_cast<std::uintptr_t>(next_)) & (alignment - 1);
    if (!next_ || left_ < pad + size) {
        nextBlockSize_ =
            nextBlockSize_ == 0 ? kFirstBlockSize : std::min(2 * nextBlockSize_, kMaxBlockSize);
        const std::size_t blockSize = std::max(nextBlockSize_, size + alignment);
        blocks_.push_back(std::make_unique_for_overwrite<std::byte[]>(blockSize));
        next_ = blocks_.back().get();
        left_ = blockSize;
        pad = (0 - reinterpret_cast<std::uintptr_t>(next_)) & (alignment - 1);
    }
    std::byte* result = next_ + pad;
    next_ = result + size;
    left_ -= pad + size;
    return result;
}

}  // namespace tessary
