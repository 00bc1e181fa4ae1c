// Limits that protect the stream decoders against hostile input.
#pragma once

#include <cstddef>

namespace tessary {

// Largest output one stream decoder produces. A compressed stream can claim
// to expand a thousandfold and more; past this size it is treated as a
// decompression bomb rather than as page content.
inline constexpr std::size_t kMaxDecodedStreamSize = std::size_t{256} * 1024 * 1024;

// Most colour components per sample a predictor accepts: the most colorants a
// DeviceN colour space may have.
inline constexpr int kMaxPredictorColors = 32;

// Most samples per predictor row: wider than any image, and small enough that
// a row's byte count (at most 32 components of 16 bits) stays far from overflow.
inline constexpr int kMaxPredictorColumns = 1 << 24;

// Longest password, in bytes, that AES-256 encryption (revisions 5 and 6)
// takes into its hash; ISO 32000-2 cuts longer ones.
inline constexpr std::size_t kMaxAes256PasswordLength = 127;

}  // namespace tessary
