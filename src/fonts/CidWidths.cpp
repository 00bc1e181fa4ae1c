#include "fonts/CidWidths.h"

#include <algorithm>

#include "fonts/FontLimits.h"
#include "fonts/PdfFont.h"

namespace tessary {

CidWidths::CidWidths(const PdfArray* w, std::uint16_t dw) : defaultWidth(dw) {
    const std::size_t size = w ? w->GetCount() : 0;
    for (std::size_t i = 0; i < size;) {
        const PdfObject* first = ResolveBorrowed(w->PeekElement(i));
        const PdfObject* next = ResolveBorrowed(w->PeekElement(i + 1));
        if (!IsKind(first, PdfObjectType::Number)) {
            return;
        }
        const std::int64_t cid = GetIntegerValue(first);
        if (const PdfArray* run = AsArray(next)) {
            for (std::size_t j = 0; j < run->GetCount() && cid + j <= kMaxCid; ++j) {
                if (!Set(cid + j, ClampWidth(run->GetElementInteger(j)))) {
                    return;
                }
            }
            i += 2;
            continue;
        }
        const PdfObject* width = ResolveBorrowed(w->PeekElement(i + 2));
        if (!IsKind(next, PdfObjectType::Number) || !IsKind(width, PdfObjectType::Number)) {
            return;
        }
        const std::int64_t last = std::min<std::int64_t>(GetIntegerValue(next), kMaxCid);
        for (std::int64_t c = std::max<std::int64_t>(cid, 0); c <= last; ++c) {
            if (!Set(c, ClampWidth(GetIntegerValue(width)))) {
                return;
            }
        }
        i += 3;
    }
}

bool CidWidths::Set(std::int64_t cid, std::uint16_t width) {
    if (count == kMaxCidWidths) {
        return false;
    }
    ++count;
    if (cid >= 0) {
        const auto index = static_cast<std::size_t>(cid);
        if (index >= widths.size()) {
            widths.resize(index + 1, defaultWidth);
        }
        widths[index] = width;
    }
    return true;
}

}  // namespace tessary
