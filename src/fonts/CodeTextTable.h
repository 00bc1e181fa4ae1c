// The text of each code of a code map, laid out for the lookup of every shown
// code: an open-addressing hash of the codes, their characters in one buffer.
// Memory follows the number of codes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fonts/CMap.h"

namespace tessary {

class CodeTextTable {
  public:
    CodeTextTable() = default;
    explicit CodeTextTable(const CodeMap& map);

    std::size_t GetCount() const { return codes.size(); }

    // The entry of a code, from 0 to GetCount() - 1; none when the map has none.
    std::optional<std::size_t> Find(std::uint32_t code) const {
        if (slots.empty()) {
            return std::nullopt;
        }
        // At most half of the slots are taken, so the walk meets an empty one.
        for (std::size_t slot = Hash(code);; slot = (slot + 1) & (slots.size() - 1)) {
            if (slots[slot] == kEmpty) {
                return std::nullopt;
            }
            if (codes[slots[slot]] == code) {
                return slots[slot];
            }
        }
    }

    std::uint32_t GetCode(std::size_t entry) const { return codes[entry]; }
    std::u32string_view GetText(std::size_t entry) const {
        return std::u32string_view(characters)
            .substr(starts[entry], starts[entry + 1] - starts[entry]);
    }

  private:
    static constexpr std::uint32_t kEmpty = UINT32_MAX;
    std::size_t Hash(std::uint32_t code) const { return (code * 0x9E3779B1u) & (slots.size() - 1); }

    std::vector<std::uint32_t> codes;   // ascending
    std::vector<std::uint32_t> starts;  // of each code's text in characters, and the end
    std::u32string characters;
    std::vector<std::uint32_t> slots;  // entry of each slot, or kEmpty; a power of two
};

}  // namespace tessary
