// A CIDFont's glyph widths by CID: its /W array over its /DW default
// (ISO 32000-1, 9.7.4.3).
#pragma once

#include <cstdint>
#include <vector>

#include "pdf/PdfObject.h"

namespace tessary {

// /DW when the font gives none.
inline constexpr std::uint16_t kDefaultCidWidth = 1000;

class CidWidths {
  public:
    CidWidths() = default;
    // Reads both forms of /W, "c [w1 w2 ...]" and "cfirst clast w"; a later
    // entry replaces an earlier one. Reading ends at the first element that
    // fits neither form. CIDs above kMaxCid are never looked up and are
    // skipped, and reading ends after kMaxCidWidths widths (FontLimits.h).
    CidWidths(const PdfArray* w, std::uint16_t defaultWidth);

    std::uint16_t Get(std::uint32_t cid) const {
        return cid < widths.size() ? widths[cid] : defaultWidth;
    }

  private:
    // false once /W has set all the widths it may.
    bool Set(std::int64_t cid, std::uint16_t width);

    std::vector<std::uint16_t> widths;  // by CID, defaultWidth where /W gives none
    std::uint16_t defaultWidth = kDefaultCidWidth;
    std::uint32_t count = 0;
};

}  // namespace tessary
