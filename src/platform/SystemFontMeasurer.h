// Font measuring with the installed fonts: fontconfig chooses the font,
// FreeType reads its metrics.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/FontMeasurer.h"

namespace tessary {

// What a request gets when no usable font is installed at all: the defaults
// the system uses for a font without metrics.
inline constexpr std::uint16_t kUnmeasuredWidth = 400;
inline constexpr std::uint16_t kUnmeasuredAscent = 700;
inline constexpr std::uint16_t kUnmeasuredDescent = 200;

// Longest family name passed on to the font system; a longer one (only a
// hostile document has one) is cut there.
inline constexpr std::size_t kMaxFontFamilyLength = 255;

// Finds the font with fontconfig: the family with weight bold or regular and
// slant italic or roman, after the configuration's substitutions, so that
// Arial, Times New Roman and Courier New find their metric-compatible
// Liberation faces and an unknown family finds the default font. Then reads
// with FreeType, from unscaled design units:
// - each width is the glyph's advance (horizontal metrics), found through the
//   font's Unicode character map (a symbol font's codes at U+F000 + code);
// - ascent and descent are the OS/2 table's usWinAscent and usWinDescent
//   (what Windows reports as the text metrics' ascent and descent), or the
//   horizontal header's ascender and descender when there's no OS/2 table.
// Each value is scaled to kFontUnitsPerEm units per em and rounded to the
// nearest integer, halves up (value * 1000 / unitsPerEm + 0.5, computed in
// integers), as Windows rounds scaled design units at a whole-pixel size;
// values beyond 16 bits are held at 65535.
// Stateless apart from the font system's own caches; thread-safe.
class SystemFontMeasurer : public FontMeasurer {
  public:
    FontMetrics Measure(const FontRequest& request) override;
};

}  // namespace tessary
