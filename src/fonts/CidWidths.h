// A CIDFont's glyph widths by CID: its /W array over its /DW default
// (ISO 32000-1, 9.7.4.3).
#pragma once

#include <cstdint>

#include "fonts/RangeMap.h"
#include "pdf/PdfObject.h"

namespace tessary {

// /DW when the font gives none.
inline constexpr std::uint16_t kDefaultCidWidth = 1000;

class CidWidths {
  public:
    CidWidths() = default;
    // Reads both forms of /W, "c [w1 w2 ...]" and "cfirst clast w"; a later
    // entry replaces an earlier one. Reading ends at the first element that
    // fits neither form, and after kMaxCidWidths widths (FontLimits.h). CIDs
    // above kMaxCid are never looked up and are skipped.
    CidWidths(const PdfArray* w, std::uint16_t defaultWidth);

    std::uint16_t Get(std::uint32_t cid) const {
        return static_cast<std::uint16_t>(widths.Find(cid).value_or(defaultWidth));
    }

  private:
    RangeMap<false> widths;
    std::uint16_t defaultWidth = kDefaultCidWidth;
};

}  // namespace tessary
