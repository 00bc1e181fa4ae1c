#include "decode/Md5.h"

#include <algorithm>
#include <cstring>

namespace tessary {

namespace {

// Per-round shift amounts and the sine-derived constants of RFC 1321.
constexpr std::array<std::uint32_t, 64> kShifts = {
    7,  12, 17, 22, 7,  12, 17, 22, 7,  12, 17, 22, 7,  12, 17, 22, 5,  9,  14, 20, 5,  9,
    14, 20, 5,  9,  14, 20, 5,  9,  14, 20, 4,  11, 16, 23, 4,  11, 16, 23, 4,  11, 16, 23,
    4,  11, 16, 23, 6,  10, 15, 21, 6,  10, 15, 21, 6,  10, 15, 21, 6,  10, 15, 21};

constexpr std::array<std::uint32_t, 64> kSines = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
    0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
    0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
    0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
    0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
    0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
    0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391};

std::uint32_t RotateLeft(std::uint32_t value, std::uint32_t count) {
    return (value << count) | (value >> (32 - count));
}

}  // namespace

void Md5::Start() {
    state_ = {0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476};
    length_ = 0;
}

void Md5::Transform(const std::uint8_t* block) {
    std::array<std::uint32_t, 16> words;
    for (std::size_t i = 0; i < 16; ++i) {
        words[i] = std::uint32_t{block[4 * i]} | std::uint32_t{block[4 * i + 1]} << 8 |
                   std::uint32_t{block[4 * i + 2]} << 16 | std::uint32_t{block[4 * i + 3]} << 24;
    }
    std::uint32_t a = state_[0];
    std::uint32_t b = state_[1];
    std::uint32_t c = state_[2];
    std::uint32_t d = state_[3];
    for (std::size_t i = 0; i < 64; ++i) {
        std::uint32_t f;
        std::size_t g;
        if (i < 16) {
            f = (b & c) | (~b & d);
            g = i;
        } else if (i < 32) {
            f = (d & b) | (~d & c);
            g = (5 * i + 1) % 16;
        } else if (i < 48) {
            f = b ^ c ^ d;
            g = (3 * i + 5) % 16;
        } else {
            f = c ^ (b | ~d);
            g = (7 * i) % 16;
        }
        const std::uint32_t rotated = RotateLeft(a + f + kSines[i] + words[g], kShifts[i]);
        a = d;
        d = c;
        c = b;
        b += rotated;
    }
    state_[0] += a;
    state_[1] += b;
    state_[2] += c;
    state_[3] += d;
}

void Md5::Add(std::span<const std::uint8_t> bytes) {
    std::size_t buffered = length_ % 64;
    length_ += bytes.size();
    std::size_t at = 0;
    if (buffered > 0) {
        const std::size_t take = std::min(bytes.size(), 64 - buffered);
        std::memcpy(buffer_.data() + buffered, bytes.data(), take);
        at = take;
        if (buffered + take < 64) {
            return;
        }
        Transform(buffer_.data());
    }
    for (; at + 64 <= bytes.size(); at += 64) {
        Transform(bytes.data() + at);
    }
    if (at < bytes.size()) {
        std::memcpy(buffer_.data(), bytes.data() + at, bytes.size() - at);
    }
}

Md5::Digest Md5::Finish() {
    const std::uint64_t bitLength = length_ * 8;
    std::array<std::uint8_t, 72> padding{};
    padding[0] = 0x80;
    // Pad to 56 bytes modulo 64, then append the length in bits, low byte first.
    const std::size_t padLength = (length_ % 64 < 56 ? 56 : 120) - length_ % 64;
    Add(std::span(padding.data(), padLength));
    std::array<std::uint8_t, 8> lengthBytes;
    for (std::size_t i = 0; i < 8; ++i) {
        lengthBytes[i] = static_cast<std::uint8_t>(bitLength >> (8 * i));
    }
    Add(lengthBytes);

    Digest digest;
    for (std::size_t i = 0; i < 4; ++i) {
        for (std::size_t j = 0; j < 4; ++j) {
            digest[4 * i + j] = static_cast<std::uint8_t>(state_[i] >> (8 * j));
        }
    }
    return digest;
}

}  // namespace tessary
