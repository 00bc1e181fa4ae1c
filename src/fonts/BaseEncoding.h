// The four built-in base encodings of simple fonts: the standard Latin encodings
// of PDF with each glyph name replaced by its Unicode value.
#pragma once

#include <array>
#include <cstdint>

namespace tessary {

enum class BaseEncoding : std::int32_t {
    NoEncoding = 0,
    WinAnsi = 1,
    MacRoman = 2,
    MacExpert = 3,
    Standard = 4,
};

// Indexed by code; 0 where the encoding has no glyph (generated).
extern const std::array<std::uint16_t, 256> StandardEncodingTable;
extern const std::array<std::uint16_t, 256> WinAnsiEncodingTable;
extern const std::array<std::uint16_t, 256> MacRomanEncodingTable;
extern const std::array<std::uint16_t, 256> MacExpertEncodingTable;

// The encoding's value for a code of 0 to 255; 0 for NoEncoding, for any value that is
// not one of the four encodings, and for a code above 255.
std::uint16_t GetBaseEncodingUnicode(BaseEncoding encoding, std::uint32_t code);

}  // namespace tessary
