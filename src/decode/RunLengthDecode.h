// Decoding of PDF's /RunLengthDecode filter (ISO 32000-1 7.4.5).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "decode/DecodeLimits.h"

namespace tessary {

// A length byte L of 0 to 127 copies the next L + 1 bytes; 129 to 255 repeats
// the next byte 257 - L times; 128 ends the data, and data without it ends at
// its last byte. A run cut by the end of the input gives the bytes that are
// there (a repeat without its byte gives nothing). Output that would exceed
// `limit` bytes gives an empty result; its size is known before anything is
// allocated.
std::string RunLengthDecode(std::string_view input, std::size_t limit = kMaxDecodedStreamSize);

}  // namespace tessary
