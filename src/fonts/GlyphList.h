// The glyph list: the value of each standard glyph name, used to read the glyph
// names of a font's /Differences.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tessary {

// Room for the longest name of the list and its terminating zero.
inline constexpr std::size_t kGlyphListNameBytes = 40;

// The name is held in the entry, not pointed at: a table of pointers would
// have to be relocated, and so written, by every run of the program at start,
// whether it looks a name up or not.
struct GlyphListEntry {
    char name[kGlyphListNameBytes];  // without a leading slash, zero-terminated
    std::uint16_t unicode;
};

inline constexpr std::size_t GlyphListSize = 4281;

// The Adobe Glyph List 2.0, sorted by name in plain byte order (generated).
extern const std::array<GlyphListEntry, GlyphListSize> GlyphList;

// The value of a glyph name given without its slash, or U+0020 when the name is not in
// the list. Only the list's own names are known: "uni0041", "g3" or "dollar.oldstyle"
// give U+0020 like any other unknown name.
std::uint16_t LookupGlyphName(std::string_view name);

// The value of a name in the list; none for a name it doesn't hold.
std::optional<std::uint16_t> FindGlyphName(std::string_view name);

// The text of a glyph name, read by the naming rules that come with the Adobe
// Glyph List: the part before the first '.', split at '_'
// into components, each a name of the list, "uni" with groups of four hex
// digits, or "u" with four to six; a component of any other form adds
// nothing. "f_f_i" gives "ffi", "uni00410042" "AB", "a.sc" "a", "g3" nothing.
std::u32string GlyphNameToText(std::string_view name);

}  // namespace tessary
