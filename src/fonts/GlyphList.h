// The glyph list: the value of each standard glyph name, used to read the glyph
// names of a font's /Differences.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace tessary {

struct GlyphListEntry {
    std::string_view name;  // without a leading slash
    std::uint16_t unicode;
};

inline constexpr std::size_t GlyphListSize = 4281;

// The Adobe Glyph List 2.0, sorted by name in plain byte order (generated).
extern const std::array<GlyphListEntry, GlyphListSize> GlyphList;

// The value of a glyph name given without its slash, or U+0020 when the name is not in
// the list. Only the list's own names are known: "uni0041", "g3" or "dollar.oldstyle"
// give U+0020 like any other unknown name.
std::uint16_t LookupGlyphName(std::string_view name);

}  // namespace tessary
