// Writes small PDF files for tests from the object bodies and the trailer
// entries; offsets, the cross-reference table, /Size, /Length and startxref
// are computed, so a test reads like the PDF it describes.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace tessary::test {

// A stream object's body: dictionary entries (without << >>), /Length added, and the data.
std::string StreamBody(const std::string& entries, const std::string& data);

class PdfBuilder {
  public:
    // Object n is bodies[n - 1]; an empty body leaves the number free.
    PdfBuilder(std::vector<std::string> bodies, std::string trailerEntries);
    // An incremental update: new or replaced objects, and its trailer's
    // entries (/Prev and /Size are added).
    PdfBuilder& AddUpdate(std::map<int, std::string> objects, std::string trailerEntries);
    std::string Build() const;

  private:
    std::vector<std::string> bodies;
    std::string trailerEntries;
    std::vector<std::pair<std::map<int, std::string>, std::string>> updates;
};

// Catalog 1, page tree root 2, page k at 3 + 2k with its content stream at 4 + 2k.
std::vector<std::string> SimpleDocument(const std::vector<std::string>& pageContents,
                                        const std::string& pageExtra = "");

}  // namespace tessary::test
