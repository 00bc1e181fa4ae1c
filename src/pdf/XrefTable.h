// Where each object of the file is: the cross-reference sections read at open,
// newest first, or the locations a repair found by scanning the file. Entries
// stay raw bytes until looked up.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace tessary {

enum class XrefEntryType : std::uint8_t {
    Free,            // not in the table, deleted, or of an unknown type
    InFile,          // an "N G obj" at a file offset
    InObjectStream,  // the index-th object of an object stream
};

// The answer of a lookup.
struct XrefLocation {
    XrefEntryType type = XrefEntryType::Free;
    std::int64_t offset = 0;        // InFile
    std::int32_t streamNumber = 0;  // InObjectStream: the object stream's number
    std::int32_t index = 0;         // InObjectStream: the object's index in it

    bool IsFound() const { return type != XrefEntryType::Free; }
    static XrefLocation InFile(std::int64_t offset) {
        return {XrefEntryType::InFile, offset, 0, 0};
    }
    static XrefLocation InObjectStream(std::int32_t stream, std::int32_t index) {
        return {XrefEntryType::InObjectStream, 0, stream, index};
    }
};

class XrefTable {
  public:
    static constexpr std::size_t kClassicEntrySize = 20;

    // Starts a new section, older than every section added before. Sections
    // are searched in the order they were started.
    void BeginSection();

    // A classic subsection: `count` entries of 20 bytes for the objects from
    // `first` on. `entries` may hold fewer bytes than count × 20 when the file
    // ends early; the entries it lacks read as absent.
    void AddClassicSubsection(std::int32_t first, std::int32_t count, std::string entries);
    // Makes the free entries of the current section's table leave their
    // objects to the sections after it: the table is a hybrid file's, whose
    // cross-reference stream lists what the table marks free.
    void LetFreeEntriesPassOn();

    // The entries of a cross-reference stream: its decoded bytes, the three
    // field widths (0 to 8 bytes each) and its /Index pairs. Entries past the
    // end of the data read as absent.
    void AddStreamSubsections(std::string data, const std::int32_t (&widths)[3],
                              const std::vector<std::pair<std::int64_t, std::int64_t>>& index);

    // A location that a repair scan found; the table then answers from these
    // alone. A later call for the same number replaces the earlier one.
    void SetRepairedEntry(std::int32_t objectNumber, std::int32_t generation,
                          const XrefLocation& location);

    // The location of the object: from the first subsection, in load order,
    // that covers its number with an entry of the same generation (objects
    // in object streams have generation 0).
    XrefLocation Find(std::int32_t objectNumber, std::int32_t generation) const;

    bool IsRepaired() const { return repaired; }
    std::size_t GetSubsectionCount() const;

  private:
    enum class Kind : std::uint8_t { Classic, ClassicPassingFree, Stream };
    struct Subsection {
        std::uint32_t first;
        std::uint64_t count;
        std::size_t data;        // index into `sectionData`
        std::uint64_t start;     // byte offset of the first entry in that data
        std::uint8_t widths[3];  // stream entries only
        Kind kind;
    };
    struct Section {
        std::vector<Subsection> subsections;  // in file order
        // Built on the first lookup: the subsections by their first number,
        // when none overlaps another, for a binary search.
        mutable std::vector<std::uint32_t> sorted;
        mutable bool indexed = false;
        mutable bool overlapping = false;
    };
    struct RepairedEntry {
        std::int32_t generation;
        XrefLocation location;
    };

    Section& CurrentSection();
    static void Index(const Section& section);
    // true when the subsection's entry for the number answers the lookup
    // (out is then the answer, possibly absent); false when it passes the
    // lookup on to the subsections after it.
    bool Answer(const Subsection& subsection, std::uint64_t number, std::int32_t generation,
                XrefLocation& out) const;

    std::vector<Section> sections;
    std::vector<std::string> sectionData;
    std::unordered_map<std::int32_t, RepairedEntry> repairedEntries;
    bool repaired = false;
};

}  // namespace tessary
