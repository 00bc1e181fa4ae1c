// What a CMap program says: how a composite font's shown bytes split into
// codes (codespace ranges), which CID each code selects, and, in a ToUnicode
// CMap, the text of each code.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "fonts/FontLimits.h"
#include "fonts/RangeMap.h"

namespace tessary {

// Character code to its text: the characters, in order, that a ToUnicode
// destination gives it (a ligature gives several).
using CodeMap = std::unordered_map<std::uint32_t, std::u32string>;

// The codes of `length` bytes whose every byte lies between the same byte of
// low and high (ISO 32000-1, 9.7.6.2).
struct CodespaceRange {
    std::size_t length = 0;
    std::array<std::uint8_t, kMaxCodeBytes> low{};
    std::array<std::uint8_t, kMaxCodeBytes> high{};

    // Whether the first `count` bytes at `bytes` (at most `length`) begin a
    // code of the range; with `count` equal to `length` they are one.
    bool Matches(const char* bytes, std::size_t count) const {
        for (std::size_t i = 0; i < count; ++i) {
            const auto byte = static_cast<std::uint8_t>(bytes[i]);
            if (byte < low[i] || byte > high[i]) {
                return false;
            }
        }
        return true;
    }

    bool operator==(const CodespaceRange&) const = default;
};

// Code to CID (cidchar and cidrange sections).
using CidRanges = RangeMap<true>;

struct CMap {
    std::vector<CodespaceRange> codespace;  // in the order declared
    CidRanges cids;                         // cidchar and cidrange sections
    CodeMap unicode;                        // bfchar and bfrange sections
    std::string useCMap;  // the name given to usecmap, slash included; empty when none

    // Makes this CMap extend parent (ISO 32000-1, 9.7.5.3): the parent's
    // codespace ranges and mappings hold wherever this CMap's own don't.
    void Inherit(const CMap& parent);
};

}  // namespace tessary
