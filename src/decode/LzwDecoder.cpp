#include "decode/LzwDecoder.h"

#include <algorithm>

namespace tessary {

std::uint32_t LzwDecoder::ReadCode() {
    std::uint32_t code = 0;
    for (std::uint32_t i = 0; i < codeWidth_; ++i, ++bitPosition_) {
        const std::uint64_t byteIndex = bitPosition_ / 8;
        std::uint32_t bit = 0;
        if (byteIndex < input_.size()) {
            const auto byte = static_cast<unsigned char>(input_[byteIndex]);
            bit = (byte >> (7 - bitPosition_ % 8)) & 1u;
        }
        code = (code << 1) | bit;
    }
    return code;
}

void LzwDecoder::AddEntry(std::uint16_t prefix, std::uint8_t lastByte) {
    if (tableSize_ == kMaxTableEntries) {
        return;
    }
    const bool prefixIsByte = prefix < kClearCode;
    const std::uint16_t prefixLength = prefixIsByte ? 1 : table_[prefix - kFirstTableCode].length;
    table_[tableSize_] = {prefix, static_cast<std::uint16_t>(prefixLength + 1), lastByte,
                          FirstByte(prefix)};
    ++tableSize_;
    // The width grows when the next code to be assigned becomes 512, 1024 and
    // 2048, or one code earlier (511, 1023, 2047) with early change, as most
    // PDF writers do.
    const std::size_t next = kFirstTableCode + tableSize_ + (earlyChange_ ? 1 : 0);
    if (next == 512) {
        codeWidth_ = 10;
    } else if (next == 1024) {
        codeWidth_ = 11;
    } else if (next == 2048) {
        codeWidth_ = 12;
    }
}

std::uint8_t LzwDecoder::FirstByte(std::uint16_t code) const {
    return code < kClearCode ? static_cast<std::uint8_t>(code)
                             : table_[code - kFirstTableCode].firstByte;
}

void LzwDecoder::Emit(std::uint16_t code) {
    const std::size_t room = limit_ - output_.size();
    if (code < kClearCode) {
        if (room == 0) {
            limitReached_ = true;
            return;
        }
        output_.push_back(static_cast<char>(code));
    } else {
        std::array<char, kMaxStringLength> bytes;
        const std::size_t length = table_[code - kFirstTableCode].length;
        std::size_t at = length;
        while (code >= kFirstTableCode) {
            const Entry& entry = table_[code - kFirstTableCode];
            bytes[--at] = static_cast<char>(entry.lastByte);
            code = entry.prefix;
        }
        bytes[--at] = static_cast<char>(code);
        if (length > room) {
            limitReached_ = true;
        }
        output_.append(bytes.data(), std::min(length, room));
    }
}

std::string LzwDecoder::Decode(std::string_view input, std::size_t limit) {
    input_ = input;
    bitPosition_ = 0;
    codeWidth_ = 9;
    tableSize_ = 0;
    output_.clear();
    limit_ = limit;
    limitReached_ = false;

    std::uint16_t previous = kNoCode;
    while (!limitReached_ && bitPosition_ / 8 < input_.size()) {
        const auto code = static_cast<std::uint16_t>(ReadCode());
        if (code == kClearCode) {
            codeWidth_ = 9;
            tableSize_ = 0;
            previous = kNoCode;
            continue;
        }
        if (code == kEndCode) {
            break;
        }
        if (code < kClearCode) {
            Emit(code);
            if (previous != kNoCode) {
                AddEntry(previous, static_cast<std::uint8_t>(code));
            }
        } else if (previous == kNoCode) {
            break;  // a table code with nothing to build on: the data is broken
        } else if (code < kFirstTableCode + tableSize_) {
            Emit(code);
            AddEntry(previous, FirstByte(code));
        } else {
            // The code being defined by this very step, or a bad one beyond
            // it: the previous string followed by its own first byte, which is
            // the entry added now (the table cannot be full here, as 12-bit
            // codes never reach past its end). Decoding goes on from that entry.
            AddEntry(previous, FirstByte(previous));
            previous = static_cast<std::uint16_t>(kFirstTableCode + tableSize_ - 1);
            Emit(previous);
            continue;
        }
        previous = code;
    }
    return std::move(output_);
}

std::string LzwDecode(std::string_view input, std::size_t limit, bool earlyChange) {
    LzwDecoder decoder(earlyChange);
    return decoder.Decode(input, limit);
}

}  // namespace tessary
