#include "pdf/XrefTable.h"

#include <string_view>

#include "pdf/PdfObject.h"

namespace tessary {

void XrefTable::AddClassicSubsection(std::int32_t first, std::int32_t count, std::string entries) {
    subsections.push_back({first, count, std::move(entries)});
}

XrefLocation XrefTable::Find(std::int32_t objectNumber, std::int32_t generation) const {
    const auto number = static_cast<std::uint64_t>(static_cast<std::uint32_t>(objectNumber));
    for (const XrefSubsection& subsection : subsections) {
        const auto first = static_cast<std::uint64_t>(static_cast<std::uint32_t>(subsection.first));
        const auto count = static_cast<std::uint64_t>(static_cast<std::uint32_t>(subsection.count));
        if (number < first || number >= first + count) {
            continue;
        }
        const std::uint64_t start = (number - first) * kEntrySize;
        if (start + kEntrySize > subsection.entries.size()) {
            continue;  // the file ended before this entry
        }
        // Bytes 0-9: offset; bytes 11-15: generation. The in-use marker is
        // not looked at: a free entry of the right generation is still tried.
        std::string_view entry(subsection.entries.data() + start, kEntrySize);
        if (ParseInteger(entry.substr(11, 5)) != generation) {
            continue;
        }
        return {ParseInteger(entry.substr(0, 10))};
    }
    return {};
}

}  // namespace tessary
