#include "fonts/GlyphList.h"

#include <algorithm>
#include <cstring>

namespace tessary {

namespace {

// Byte order with every byte taken as unsigned, whatever the signedness of char.
int CompareBytes(std::string_view a, std::string_view b) {
    const std::size_t common = std::min(a.size(), b.size());
    if (common != 0) {
        if (int result = std::memcmp(a.data(), b.data(), common); result != 0) {
            return result;
        }
    }
    if (a.size() == b.size()) {
        return 0;
    }
    return a.size() < b.size() ? -1 : 1;
}

}  // namespace

std::uint16_t LookupGlyphName(std::string_view name) {
    int low = 0;
    int high = static_cast<int>(GlyphList.size()) - 1;
    while (low <= high) {
        const int middle = (low + high) / 2;
        const int order = CompareBytes(GlyphList[middle].name, name);
        if (order < 0) {
            low = middle + 1;
        } else if (order > 0) {
            high = middle - 1;
        } else {
            return GlyphList[middle].unicode;
        }
    }
    return 0x0020;
}

}  // namespace tessary
