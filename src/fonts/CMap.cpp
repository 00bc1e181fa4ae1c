#include "fonts/CMap.h"

#include <algorithm>

namespace tessary {

void CMap::Inherit(const CMap& parent) {
    for (const CodespaceRange& range : parent.codespace) {
        if (codespace.size() < kMaxCodespaceRanges &&
            std::find(codespace.begin(), codespace.end(), range) == codespace.end()) {
            codespace.push_back(range);
        }
    }
    cids.AddUnder(parent.cids);
    cids.Freeze();
    for (const auto& [code, text] : parent.unicode) {
        unicode.emplace(code, text);  // keeps this CMap's own entry
    }
    useCMap.clear();
}

}  // namespace tessary
