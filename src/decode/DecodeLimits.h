// Limits that protect the stream decoders against hostile input.
#pragma once

#include <cstddef>

namespace tessary {

// Largest output one stream decoder produces. A compressed stream can claim
// to expand a thousandfold and more; past this size it is treated as a
// decompression bomb rather than as page content.
inline constexpr std::size_t kMaxDecodedStreamSize = std::size_t{256} * 1024 * 1024;

}  // namespace tessary
