// Where each object of the file is: the cross-reference sections read at open,
// newest first. Entries stay raw text until looked up.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tessary {

// The answer of a lookup. An offset of 0 means the object is not in the table.
struct XrefLocation {
    std::int64_t offset = 0;

    bool IsFound() const { return offset != 0; }
};

class XrefTable {
  public:
    static constexpr std::size_t kEntrySize = 20;

    // A classic subsection: `count` entries of 20 bytes for the objects from
    // `first` on. `entries` may hold fewer bytes than count × 20 when the file
    // ends early; the entries it lacks read as absent.
    void AddClassicSubsection(std::int32_t first, std::int32_t count, std::string entries);

    // The location of the object, from the first subsection in load order that
    // covers its number with an entry of the same generation.
    XrefLocation Find(std::int32_t objectNumber, std::int32_t generation) const;

    std::size_t GetSubsectionCount() const { return subsections.size(); }

  private:
    struct XrefSubsection {
        std::int32_t first;
        std::int32_t count;
        std::string entries;
    };
    std::vector<XrefSubsection> subsections;
};

}  // namespace tessary
