#include "fonts/CidWidths.h"

#include <algorithm>

#include "fonts/FontLimits.h"
#include "fonts/PdfFont.h"

namespace tessary {

CidWidths::CidWidths(const PdfArray* w, std::uint16_t dw) : defaultWidth(dw) {
    const std::size_t size = w ? w->GetCount() : 0;
    std::uint32_t count = 0;  // widths set, a range counting as one
    for (std::size_t i = 0; i < size && count < kMaxCidWidths;) {
        const PdfObject* first = ResolveBorrowed(w->PeekElement(i));
        const PdfObject* next = ResolveBorrowed(w->PeekElement(i + 1));
        if (!IsKind(first, PdfObjectType::Number)) {
            break;
        }
        const std::int64_t cid = GetIntegerValue(first);
        if (const PdfArray* run = AsArray(next)) {
            const auto length = static_cast<std::int64_t>(run->GetCount());
            for (std::int64_t j = std::max<std::int64_t>(-cid, 0);
                 j < length && cid + j <= kMaxCid && count < kMaxCidWidths; ++j, ++count) {
                const auto c = static_cast<std::uint32_t>(cid + j);
                widths.Add(c, c, ClampWidth(run->GetElementInteger(static_cast<std::size_t>(j))));
            }
            i += 2;
            continue;
        }
        const PdfObject* width = ResolveBorrowed(w->PeekElement(i + 2));
        if (!IsKind(next, PdfObjectType::Number) || !IsKind(width, PdfObjectType::Number)) {
            break;
        }
        const std::int64_t last = std::min<std::int64_t>(GetIntegerValue(next), kMaxCid);
        if (std::max<std::int64_t>(cid, 0) <= last) {
            widths.Add(static_cast<std::uint32_t>(std::max<std::int64_t>(cid, 0)),
                       static_cast<std::uint32_t>(last), ClampWidth(GetIntegerValue(width)));
        }
        ++count;
        i += 3;
    }
    widths.Freeze();
}

}  // namespace tessary
