#include "fonts/CodeTextTable.h"

#include <algorithm>

namespace tessary {

CodeTextTable::CodeTextTable(const CodeMap& map) {
    codes.reserve(map.size());
    for (const auto& entry : map) {
        codes.push_back(entry.first);
    }
    std::sort(codes.begin(), codes.end());
    starts.reserve(codes.size() + 1);
    for (std::uint32_t code : codes) {
        starts.push_back(static_cast<std::uint32_t>(characters.size()));
        characters += map.at(code);
    }
    starts.push_back(static_cast<std::uint32_t>(characters.size()));
    if (codes.empty()) {
        return;
    }
    std::size_t size = 2;
    while (size < 2 * codes.size()) {
        size *= 2;
    }
    slots.assign(size, kEmpty);
    for (std::uint32_t entry = 0; entry < codes.size(); ++entry) {
        std::size_t slot = Hash(codes[entry]);
        while (slots[slot] != kEmpty) {
            slot = (slot + 1) & (slots.size() - 1);
        }
        slots[slot] = entry;
    }
}

}  // namespace tessary
