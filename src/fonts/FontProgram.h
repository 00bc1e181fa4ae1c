// The encoding built into an embedded font program, read with FreeType.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace tessary {

// The glyph name of each code 0 to 255, empty for a code without one.
using BuiltInEncoding = std::array<std::string, 256>;

// The program's own encoding: a Type 1 or CFF program's encoding vector, or,
// when `symbolic`, a TrueType program's (3,0) or else (1,0) character map with
// the glyph names of its post table. FreeType reads only these bytes; a
// program it refuses, or one without glyph names, gives no names at all.
BuiltInEncoding ReadBuiltInEncoding(std::string_view program, bool symbolic);

}  // namespace tessary
