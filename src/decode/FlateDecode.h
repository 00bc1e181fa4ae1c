// Inflating zlib streams (RFC 1950 wrapper around RFC 1951 deflate data).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "decode/DecodeLimits.h"

namespace tessary {

// Inflates one zlib stream of any size.
// - Output that would grow past `limit` bytes gives an empty result.
// - A stream damaged or cut short after it produced output (bad deflate data,
//   wrong Adler-32 trailer, missing end) keeps the bytes inflated before the
//   damage; a stream that produced nothing, raw deflate data without the zlib
//   header included, gives an empty result.
// - Bytes after the end of the zlib stream are ignored.
std::string FlateDecode(std::string_view input, std::size_t limit = kMaxDecodedStreamSize);

}  // namespace tessary
