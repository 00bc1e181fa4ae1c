// Reading the character mappings of a CMap program: a font's /ToUnicode
// stream, or a stream given as its /Encoding.
#pragma once

#include <cstdint>
#include <string_view>
#include <unordered_map>

namespace tessary {

// Character code to value, of which the low 16 bits are the Unicode character.
using CodeMap = std::unordered_map<std::uint32_t, std::uint32_t>;

// The bytes as an unsigned big-endian number in 32 bits: bytes beyond the
// last four push the first ones out; no bytes give 0.
std::uint32_t GetByteStringValue(std::string_view bytes);

// Adds the mappings of the program's bfchar and bfrange sections to codeMap,
// replacing earlier values of the same codes. Everything else is skipped (the
// codespace ranges are read past, not used). A syntax failure ends the reading
// with the mappings made so far. Codes above kMaxCharCode are not kept, and
// reading ends after kMaxCMapMappings mappings (see FontLimits.h).
void ReadCMap(std::string_view data, CodeMap& codeMap);

}  // namespace tessary
