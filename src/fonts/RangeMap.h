// Numbers over ranges of 32-bit keys, as CMaps map codes to CIDs and /W maps
// CIDs to widths: kept as ranges that never overlap, so memory follows the
// number of ranges given, not the number of keys they cover. Built in a
// tree, then frozen into arrays for the lookups of every shown code.
#pragma once

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <map>
#include <optional>
#include <vector>

namespace tessary {

// A range maps the keys low..high to one value, or (when kConsecutive) to
// consecutive values from its first (code 0x8141 of a range 0x8140..0x817E
// from CID 633 is CID 634). A later range replaces what earlier ones said of
// the keys it covers.
template <bool kConsecutive>
class RangeMap {
  public:
    void Add(std::uint32_t low, std::uint32_t high, std::uint32_t value) {
        if (low > high) {
            return;
        }
        frozen = false;
        auto next = ranges.upper_bound(low);
        if (next != ranges.begin()) {
            auto before = std::prev(next);
            if (before->second.high >= low) {
                const auto [oldLow, old] = *before;
                if (oldLow < low) {
                    before->second.high = low - 1;
                } else {
                    ranges.erase(before);
                }
                KeepTail(oldLow, old, high);
            }
        }
        for (auto inside = ranges.lower_bound(low);
             inside != ranges.end() && inside->first <= high;) {
            const auto [oldLow, old] = *inside;
            inside = ranges.erase(inside);
            KeepTail(oldLow, old, high);
        }
        ranges[low] = {high, value};
    }

    // Adds every range of earlier that this map says nothing of.
    void AddUnder(const RangeMap& earlier) {
        RangeMap merged = earlier;
        for (const auto& [low, range] : ranges) {
            merged.Add(low, range.high, range.value);
        }
        ranges = std::move(merged.ranges);
        frozen = false;
    }

    // Lays the ranges out for fast lookups; a later Add undoes it.
    void Freeze() {
        lows.clear();
        flat.clear();
        lows.reserve(ranges.size());
        flat.reserve(ranges.size());
        for (const auto& [low, range] : ranges) {
            lows.push_back(low);
            flat.push_back(range);
        }
        frozen = true;
    }

    // The value of a key; none when no range covers it. Consecutive values
    // beyond 32 bits stop at the largest.
    std::optional<std::uint32_t> Find(std::uint32_t key) const {
        if (!frozen) {
            auto next = ranges.upper_bound(key);
            if (next == ranges.begin() || key > std::prev(next)->second.high) {
                return std::nullopt;
            }
            return ValueAt(std::prev(next)->second, key - std::prev(next)->first);
        }
        const auto next = std::upper_bound(lows.begin(), lows.end(), key);
        if (next == lows.begin()) {
            return std::nullopt;
        }
        const std::size_t index = static_cast<std::size_t>(next - lows.begin()) - 1;
        if (key > flat[index].high) {
            return std::nullopt;
        }
        return ValueAt(flat[index], key - lows[index]);
    }

    bool IsEmpty() const { return ranges.empty(); }

  private:
    struct Range {
        std::uint32_t high;
        std::uint32_t value;
    };

    static std::uint32_t ValueAt(const Range& range, std::uint32_t offset) {
        if (!kConsecutive) {
            return range.value;
        }
        const std::uint64_t value = std::uint64_t{range.value} + offset;
        return value > UINT32_MAX ? UINT32_MAX : static_cast<std::uint32_t>(value);
    }

    // What an older range said beyond high survives as a range of its own.
    void KeepTail(std::uint32_t oldLow, const Range& old, std::uint32_t high) {
        if (old.high > high) {
            ranges[high + 1] = {old.high, ValueAt(old, high + 1 - oldLow)};
        }
    }

    std::map<std::uint32_t, Range> ranges;  // by low key
    // The same ranges in two arrays, when frozen.
    std::vector<std::uint32_t> lows;
    std::vector<Range> flat;
    bool frozen = false;
};

}  // namespace tessary
