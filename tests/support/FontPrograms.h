// Small font programs for tests: each glyph an empty shape 500 units wide,
// placed at the codes given.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace tessary::test {

// Code and glyph name.
using GlyphCodes = std::vector<std::pair<int, std::string>>;

// A Type 1 program (Adobe Type 1 Font Format) whose encoding vector holds the
// glyphs at their codes.
std::string MakeType1Font(const GlyphCodes& glyphs);

// A TrueType program whose one character map, (3,0) with the codes at 0xF000
// + code when `microsoftSymbol`, else (1,0) with the codes themselves, sends
// each code to its glyph, named in a format 2 post table.
std::string MakeTrueTypeFont(const GlyphCodes& glyphs, bool microsoftSymbol);

}  // namespace tessary::test
