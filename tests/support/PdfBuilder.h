// Writes small PDF files for tests from readable pieces: the object bodies,
// the trailer entries, and optionally incremental updates. Offsets, the
// cross-reference table, /Size, /Length and startxref are computed, so a test
// reads like the PDF it describes.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace tessary::test {

// The body of a stream object: the dictionary entries (without << >>), /Length
// added, and the data.
std::string StreamBody(const std::string& entries, const std::string& data);

class PdfBuilder {
  public:
    // Object n (counting from 1) is bodies[n - 1]. An empty body leaves the
    // number free (no object, a free entry in the table).
    PdfBuilder(std::vector<std::string> bodies, std::string trailerEntries);

    // Appends an incremental update: new or replaced objects by number, and
    // the entries of its trailer (/Prev and /Size are added).
    PdfBuilder& AddUpdate(std::map<int, std::string> objects, std::string trailerEntries);

    std::string Build() const;
    // Offset of "N G obj" of the newest definition of object n in Build().
    long OffsetOf(int number) const;

  private:
    std::vector<std::string> bodies;
    std::string trailerEntries;
    std::vector<std::pair<std::map<int, std::string>, std::string>> updates;
};

// A page tree with `pages` leaves of the given content, as object bodies:
// 1 catalog, 2 pages root, then page k at 3 + 2k and its content at 4 + 2k.
std::vector<std::string> SimpleDocument(const std::vector<std::string>& pageContents,
                                        const std::string& pageExtra = "");

// A temporary folder removed with everything in it when the object dies.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return path; }
    // Writes the bytes to a file in the folder and gives its path.
    std::string Write(const std::string& name, const std::string& bytes) const;

  private:
    std::filesystem::path path;
};

std::string ReadFileBytes(const std::filesystem::path& path);

}  // namespace tessary::test
