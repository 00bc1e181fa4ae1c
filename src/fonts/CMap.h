// What a CMap program says: how a composite font's shown bytes split into
// codes (codespace ranges), which CID each code selects, and, in a ToUnicode
// CMap, the text of each code.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "fonts/FontLimits.h"

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

// Code to CID: a range maps the codes low..high to consecutive CIDs from its
// first, and a later range replaces what earlier ones said of the codes it
// covers. Kept as ranges that never overlap.
class CidRanges {
  public:
    void Add(std::uint32_t low, std::uint32_t high, std::uint32_t firstCid);
    // The CID of a code; none when no range covers it. A range that runs past
    // the largest CID gives kMaxCid + 1 beyond it, a CID no font has.
    std::optional<std::uint32_t> Find(std::uint32_t code) const {
        auto next = ranges.upper_bound(code);
        if (next == ranges.begin()) {
            return std::nullopt;
        }
        const auto& [low, range] = *std::prev(next);
        if (code > range.high) {
            return std::nullopt;
        }
        const std::uint64_t cid = std::uint64_t{range.firstCid} + (code - low);
        return cid > kMaxCid ? kMaxCid + 1 : static_cast<std::uint32_t>(cid);
    }
    bool IsEmpty() const { return ranges.empty(); }

  private:
    friend struct CMap;
    struct Range {
        std::uint32_t high;
        std::uint32_t firstCid;
    };
    std::map<std::uint32_t, Range> ranges;  // by low code
};

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
