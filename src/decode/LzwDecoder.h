// Decoding of LZW data as PDF's /LZWDecode filter writes it: codes of 9 to 12
// bits, most significant bit first, 256 clearing the table and 257 ending the
// data. The code width grows one code early ("early change", /EarlyChange 1,
// the default) or only when the next code needs the wider width (/EarlyChange 0).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "decode/DecodeLimits.h"

namespace tessary {

class LzwDecoder {
  public:
    // The table holds at most this many entries (codes 258 to 4350), although
    // 12-bit codes can name only those up to 4095.
    static constexpr std::size_t kMaxTableEntries = 4093;

    explicit LzwDecoder(bool earlyChange = true) : earlyChange_(earlyChange) {}

    // Decodes all of `input`. Decoding ends at code 257, at the end of the
    // input (a last code that runs past the input reads the missing bits as
    // zero), at a table code that has no previous code to build on, or when
    // the output reaches `limit` bytes, where it is cut.
    std::string Decode(std::string_view input, std::size_t limit = kMaxDecodedStreamSize);

    // True when the last Decode cut its output at the limit.
    bool LimitReached() const { return limitReached_; }

  private:
    static constexpr std::uint16_t kClearCode = 256;
    static constexpr std::uint16_t kEndCode = 257;
    static constexpr std::uint16_t kFirstTableCode = 258;
    static constexpr std::uint16_t kNoCode = 0xFFFF;
    // The longest string: each entry is one byte longer than an earlier one.
    static constexpr std::size_t kMaxStringLength = kMaxTableEntries + 1;

    // Each entry is stored as a link to the code of its string minus the last
    // byte, so the table takes constant memory however long its strings are.
    struct Entry {
        std::uint16_t prefix;
        std::uint16_t length;
        std::uint8_t lastByte;
        std::uint8_t firstByte;
    };

    std::uint32_t ReadCode();
    void AddEntry(std::uint16_t prefix, std::uint8_t lastByte);
    std::uint8_t FirstByte(std::uint16_t code) const;
    // Appends the string of `code` to the output, cut at the limit.
    void Emit(std::uint16_t code);

    bool earlyChange_;
    std::string_view input_;
    std::uint64_t bitPosition_ = 0;
    std::uint32_t codeWidth_ = 9;
    std::size_t tableSize_ = 0;
    std::array<Entry, kMaxTableEntries> table_{};
    std::string output_;
    std::size_t limit_ = 0;
    bool limitReached_ = false;
};

// One-call form of LzwDecoder::Decode.
std::string LzwDecode(std::string_view input, std::size_t limit = kMaxDecodedStreamSize,
                      bool earlyChange = true);

}  // namespace tessary
