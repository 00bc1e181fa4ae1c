// Decoding of hexadecimal data (PDF's /ASCIIHexDecode filter).
#pragma once

#include <string>
#include <string_view>

namespace tessary {

// Pairs of hexadecimal digits (either case) give one byte each; '>' ends the
// data, and data without it decodes as if it followed. Every other byte (white
// space, and bytes outside the alphabet alike) is skipped. An odd last digit
// reads as if a 0 followed it.
std::string AsciiHexDecode(std::string_view input);

// The value of one hexadecimal digit (either case), or -1 for any other byte.
int HexDigitValue(char c);

}  // namespace tessary
