// Reading a CMap program: a font's /ToUnicode stream, a stream given as its
// /Encoding, or one of the predefined CMaps.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "fonts/CMap.h"

namespace tessary {

// The bytes as an unsigned big-endian number in 32 bits: bytes beyond the
// last four push the first ones out; no bytes give 0.
std::uint32_t GetByteStringValue(std::string_view bytes);

// The characters of UTF-16BE bytes, a surrogate pair as one character; an odd
// number of bytes reads as if a zero byte led them (a one-byte destination is
// the character of that number). `offset` is added to the last 16-bit unit
// first (the destination of the offset-th code of a bfrange).
std::u32string DecodeUtf16(std::string_view bytes, std::uint32_t offset = 0);

// Reads the codespace ranges, the cidchar, cidrange, bfchar and bfrange
// sections and the usecmap name of a CMap program; everything else is
// skipped. bfchar and bfrange mappings of codes above maxCode, which the font
// never shows, are skipped without counting. A later mapping replaces an
// earlier one of the same code. A syntax failure ends the reading with what
// was read so far, and so does reaching kMaxCMapMappings mappings or
// kMaxCMapCharacters characters (FontLimits.h).
CMap ReadCMap(std::string_view data, std::uint32_t maxCode);

}  // namespace tessary
