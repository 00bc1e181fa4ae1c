#include "fonts/CMap.h"

#include <algorithm>

namespace tessary {

void CidRanges::Add(std::uint32_t low, std::uint32_t high, std::uint32_t firstCid) {
    if (low > high) {
        return;
    }
    // What older ranges say beyond high survives as a range of its own; what
    // they say below low stays in place; what they say inside goes.
    auto keepTail = [&](std::uint32_t oldLow, const Range& old) {
        if (old.high > high) {
            ranges[high + 1] = {old.high, old.firstCid + (high + 1 - oldLow)};
        }
    };
    auto next = ranges.upper_bound(low);
    if (next != ranges.begin()) {
        auto before = std::prev(next);
        if (before->second.high >= low) {
            const std::uint32_t oldLow = before->first;
            const Range old = before->second;
            if (oldLow < low) {
                before->second.high = low - 1;
            } else {
                ranges.erase(before);
            }
            keepTail(oldLow, old);
        }
    }
    for (auto inside = ranges.lower_bound(low); inside != ranges.end() && inside->first <= high;) {
        const std::uint32_t oldLow = inside->first;
        const Range old = inside->second;
        inside = ranges.erase(inside);
        keepTail(oldLow, old);
    }
    ranges[low] = {high, firstCid};
}

void CMap::Inherit(const CMap& parent) {
    for (const CodespaceRange& range : parent.codespace) {
        if (codespace.size() < kMaxCodespaceRanges &&
            std::find(codespace.begin(), codespace.end(), range) == codespace.end()) {
            codespace.push_back(range);
        }
    }
    CidRanges merged = parent.cids;
    for (const auto& [low, range] : cids.ranges) {
        merged.Add(low, range.high, range.firstCid);
    }
    cids = std::move(merged);
    for (const auto& [code, text] : parent.unicode) {
        unicode.emplace(code, text);  // keeps this CMap's own entry
    }
    useCMap.clear();
}

}  // namespace tessary
