#include "pdf/XrefTable.h"

#include <algorithm>
#include <numeric>
#include <string_view>

#include "pdf/PdfObject.h"

namespace tessary {

namespace {

// A big-endian field of a cross-reference stream entry.
std::uint64_t ReadField(const std::string& data, std::uint64_t at, std::uint8_t width) {
    std::uint64_t value = 0;
    for (std::uint8_t k = 0; k < width; ++k) {
        value = (value << 8) | static_cast<std::uint8_t>(data[at + k]);
    }
    return value;
}

}  // namespace

void XrefTable::BeginSection() {
    sections.emplace_back();
}

XrefTable::Section& XrefTable::CurrentSection() {
    if (sections.empty()) {
        sections.emplace_back();
    }
    return sections.back();
}

std::size_t XrefTable::GetSubsectionCount() const {
    std::size_t count = 0;
    for (const Section& section : sections) {
        count += section.subsections.size();
    }
    return count;
}

void XrefTable::AddClassicSubsection(std::int32_t first, std::int32_t count, std::string entries) {
    Section& section = CurrentSection();
    sectionData.push_back(std::move(entries));
    section.subsections.push_back({static_cast<std::uint32_t>(first),
                                   static_cast<std::uint32_t>(count),
                                   sectionData.size() - 1,
                                   0,
                                   {0, 0, 0},
                                   Kind::Classic});
    section.indexed = false;
}

void XrefTable::LetFreeEntriesPassOn() {
    for (Subsection& subsection : CurrentSection().subsections) {
        if (subsection.kind == Kind::Classic) {
            subsection.kind = Kind::ClassicPassingFree;
        }
    }
}

void XrefTable::AddStreamSubsections(
    std::string data, const std::int32_t (&widths)[3],
    const std::vector<std::pair<std::int64_t, std::int64_t>>& index) {
    Section& section = CurrentSection();
    const std::uint64_t entrySize = static_cast<std::uint64_t>(widths[0]) +
                                    static_cast<std::uint64_t>(widths[1]) +
                                    static_cast<std::uint64_t>(widths[2]);
    const std::uint64_t available = entrySize == 0 ? 0 : data.size() / entrySize;
    sectionData.push_back(std::move(data));
    std::uint64_t entriesBefore = 0;
    for (const auto& [first, count] : index) {
        // Subsections whose entries all lie past the data add nothing: every
        // one of their numbers would read as absent.
        if (entriesBefore >= available) {
            break;
        }
        const auto kept = static_cast<std::uint64_t>(count);
        section.subsections.push_back(
            {static_cast<std::uint32_t>(first),
             std::min(kept, available - entriesBefore),
             sectionData.size() - 1,
             entriesBefore * entrySize,
             {static_cast<std::uint8_t>(widths[0]), static_cast<std::uint8_t>(widths[1]),
              static_cast<std::uint8_t>(widths[2])},
             Kind::Stream});
        entriesBefore += kept;
    }
    section.indexed = false;
}

void XrefTable::SetRepairedEntry(std::int32_t objectNumber, std::int32_t generation,
                                 const XrefLocation& location) {
    repaired = true;
    repairedEntries.insert_or_assign(objectNumber, RepairedEntry{generation, location});
}

void XrefTable::Index(const Section& section) {
    section.indexed = true;
    section.sorted.resize(section.subsections.size());
    std::iota(section.sorted.begin(), section.sorted.end(), 0u);
    std::stable_sort(section.sorted.begin(), section.sorted.end(),
                     [&](std::uint32_t a, std::uint32_t b) {
                         return section.subsections[a].first < section.subsections[b].first;
                     });
    section.overlapping = false;
    for (std::size_t k = 1; k < section.sorted.size(); ++k) {
        const Subsection& before = section.subsections[section.sorted[k - 1]];
        const Subsection& after = section.subsections[section.sorted[k]];
        if (before.first + before.count > after.first) {
            section.overlapping = true;
            break;
        }
    }
}

bool XrefTable::Answer(const Subsection& subsection, std::uint64_t number, std::int32_t generation,
                       XrefLocation& out) const {
    const std::string& data = sectionData[subsection.data];
    const std::uint64_t position = number - subsection.first;
    if (subsection.kind != Kind::Stream) {
        const std::uint64_t start = position * kClassicEntrySize;
        if (start + kClassicEntrySize > data.size()) {
            return false;  // the file ended before this entry
        }
        // Bytes 0-9: offset; bytes 11-15: generation; byte 17: the in-use
        // marker, which is not looked at outside hybrid files: a free entry
        // of the right generation is still tried.
        std::string_view entry(data.data() + start, kClassicEntrySize);
        if (ParseInteger(entry.substr(11, 5)) != generation) {
            return false;
        }
        if (subsection.kind == Kind::ClassicPassingFree && entry[17] == 'f') {
            return false;
        }
        const std::int32_t offset = ParseInteger(entry.substr(0, 10));
        out = offset != 0 ? XrefLocation::InFile(offset) : XrefLocation();
        return true;
    }
    const std::uint8_t* widths = subsection.widths;
    const std::uint64_t at =
        subsection.start + position * (std::uint64_t{widths[0]} + widths[1] + widths[2]);
    // A missing type field means type 1.
    const std::uint64_t type = widths[0] == 0 ? 1 : ReadField(data, at, widths[0]);
    const std::uint64_t second = ReadField(data, at + widths[0], widths[1]);
    const std::uint64_t third = ReadField(data, at + widths[0] + widths[1], widths[2]);
    if (type == 1) {
        if (third != static_cast<std::uint64_t>(static_cast<std::int64_t>(generation)) ||
            second > static_cast<std::uint64_t>(INT64_MAX)) {
            return false;
        }
        out = XrefLocation::InFile(static_cast<std::int64_t>(second));
        return true;
    }
    if (type == 2) {
        if (generation != 0 || second > static_cast<std::uint64_t>(INT32_MAX) ||
            third > static_cast<std::uint64_t>(INT32_MAX)) {
            return false;
        }
        out = XrefLocation::InObjectStream(static_cast<std::int32_t>(second),
                                           static_cast<std::int32_t>(third));
        return true;
    }
    return false;  // free, or a type this reader doesn't know
}

XrefLocation XrefTable::Find(std::int32_t objectNumber, std::int32_t generation) const {
    if (repaired) {
        auto found = repairedEntries.find(objectNumber);
        if (found == repairedEntries.end() || found->second.generation != generation) {
            return {};
        }
        return found->second.location;
    }
    const auto number = static_cast<std::uint64_t>(static_cast<std::uint32_t>(objectNumber));
    auto covers = [number](const Subsection& subsection) {
        return number >= subsection.first && number - subsection.first < subsection.count;
    };
    XrefLocation answer;
    for (const Section& section : sections) {
        if (!section.indexed) {
            Index(section);
        }
        if (section.overlapping) {
            for (const Subsection& subsection : section.subsections) {
                if (covers(subsection) && Answer(subsection, number, generation, answer)) {
                    return answer;
                }
            }
            continue;
        }
        // The last subsection starting at or before the number is the only
        // one that can cover it.
        auto after = std::upper_bound(
            section.sorted.begin(), section.sorted.end(), number,
            [&](std::uint64_t n, std::uint32_t k) { return n < section.subsections[k].first; });
        if (after == section.sorted.begin()) {
            continue;
        }
        const Subsection& candidate = section.subsections[*(after - 1)];
        if (covers(candidate) && Answer(candidate, number, generation, answer)) {
            return answer;
        }
    }
    return {};
}

}  // namespace tessary
