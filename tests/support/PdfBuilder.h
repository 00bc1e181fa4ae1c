// Writes small PDF files for tests from the object bodies and the trailer
// entries; offsets, the cross-reference data, /Size, /Length and startxref
// are computed, so a test reads like the PDF it describes.
#pragma once

#include <array>
#include <map>
#include <string>
#include <vector>

namespace tessary::test {

// A stream object's body: dictionary entries (without << >>), /Length added, and the data.
std::string StreamBody(const std::string& entries, const std::string& data);

// The offset that a file's last startxref gives, as written.
std::string LastStartxref(const std::string& pdf);

// An incremental update appended to a file: the objects, a classic section
// with one subsection for each, and a trailer of `trailerEntries` and /Prev.
std::string AppendUpdate(std::string pdf, const std::map<int, std::string>& objects,
                         const std::string& trailerEntries);

class PdfBuilder {
  public:
    // Object n is bodies[n - 1]; an empty body leaves the number free.
    PdfBuilder(std::vector<std::string> bodies, std::string trailerEntries);
    // The first section as a cross-reference stream with these /W widths
    // (the newest object number), its entries split over two /Index
    // subsections when `splitIndex`.
    PdfBuilder& UseXrefStream(std::array<int, 3> widths = {1, 4, 2}, bool splitIndex = false);
    // The objects with these numbers go into one object stream (the next free
    // number), whose dictionary gets `extraEntries` last; the file gets a
    // cross-reference stream unless it is hybrid.
    PdfBuilder& UseObjectStream(std::vector<int> numbers, std::string extraEntries = "");
    // A classic table that marks the object stream's objects free, with
    // /XRefStm naming a cross-reference stream that lists them.
    PdfBuilder& MakeHybrid();
    // An incremental update: new or replaced objects, and its trailer's
    // entries (/Prev and /Size are added); a cross-reference stream when
    // `asStream`.
    PdfBuilder& AddUpdate(std::map<int, std::string> objects, std::string trailerEntries,
                          bool asStream = false);
    std::string Build() const;

  private:
    struct Update {
        std::map<int, std::string> objects;
        std::string trailer;
        bool asStream;
    };
    std::vector<std::string> bodies;
    std::string trailerEntries;
    std::vector<Update> updates;
    bool xrefStream = false;
    bool splitIndex = false;
    bool hybrid = false;
    std::array<int, 3> widths{1, 4, 2};
    std::vector<int> packed;
    std::string objectStreamEntries;
};

// Page entries that give every page Courier as /F1.
inline constexpr const char* kCourierResources =
    "/Resources << /Font << /F1 << /Type /Font /Subtype /Type1 /BaseFont /Courier >> >> >>";

// Catalog 1, page tree root 2, page k at 3 + 2k with its content stream at 4 + 2k.
std::vector<std::string> SimpleDocument(const std::vector<std::string>& pageContents,
                                        const std::string& pageExtra = "");

}  // namespace tessary::test
