#include "support/PdfBuilder.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace tessary::test {

namespace {

std::string XrefEntry(long offset, int generation, char marker) {
    char entry[21];
    std::snprintf(entry, sizeof entry, "%010ld %05d %c\r\n", offset, generation, marker);
    return std::string(entry, 20);
}

}  // namespace

std::string StreamBody(const std::string& entries, const std::string& data) {
    return "<< " + entries + " /Length " + std::to_string(data.size()) + " >>\nstream\r\n" + data +
           "\nendstream";
}

PdfBuilder::PdfBuilder(std::vector<std::string> objectBodies, std::string trailer)
    : bodies(std::move(objectBodies)), trailerEntries(std::move(trailer)) {}

PdfBuilder& PdfBuilder::AddUpdate(std::map<int, std::string> objects, std::string trailer) {
    updates.emplace_back(std::move(objects), std::move(trailer));
    return *this;
}

long PdfBuilder::OffsetOf(int number) const {
    std::string pdf = Build();
    std::string header = "\n" + std::to_string(number) + " 0 obj";
    std::size_t found = pdf.rfind(header);
    return found == std::string::npos ? -1 : static_cast<long>(found + 1);
}

std::string PdfBuilder::Build() const {
    std::string out = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";
    std::vector<long> offsets(bodies.size() + 1, 0);
    for (std::size_t i = 0; i < bodies.size(); ++i) {
        if (bodies[i].empty())
            continue;
        offsets[i + 1] = static_cast<long>(out.size());
        out += std::to_string(i + 1) + " 0 obj\n" + bodies[i] + "\nendobj\n";
    }
    long xref = static_cast<long>(out.size());
    out += "xref\n0 " + std::to_string(bodies.size() + 1) + "\n";
    out += XrefEntry(0, 65535, 'f');
    for (std::size_t n = 1; n <= bodies.size(); ++n) {
        out += offsets[n] ? XrefEntry(offsets[n], 0, 'n') : XrefEntry(0, 0, 'f');
    }
    std::size_t size = bodies.size() + 1;
    out += "trailer\n<< /Size " + std::to_string(size) + " " + trailerEntries + " >>\n";
    out += "startxref\n" + std::to_string(xref) + "\n%%EOF\n";

    for (const auto& [objects, trailer] : updates) {
        std::map<int, long> updated;
        for (const auto& [number, body] : objects) {
            updated[number] = static_cast<long>(out.size());
            out += std::to_string(number) + " 0 obj\n" + body + "\nendobj\n";
            size = std::max<std::size_t>(size, static_cast<std::size_t>(number) + 1);
        }
        long newXref = static_cast<long>(out.size());
        out += "xref\n";
        for (const auto& [number, offset] : updated) {
            out += std::to_string(number) + " 1\n" + XrefEntry(offset, 0, 'n');
        }
        out += "trailer\n<< /Size " + std::to_string(size) + " /Prev " + std::to_string(xref) +
               " " + trailer + " >>\n";
        out += "startxref\n" + std::to_string(newXref) + "\n%%EOF\n";
        xref = newXref;
    }
    return out;
}

std::vector<std::string> SimpleDocument(const std::vector<std::string>& pageContents,
                                        const std::string& pageExtra) {
    std::vector<std::string> bodies;
    std::string kids;
    for (std::size_t k = 0; k < pageContents.size(); ++k) {
        kids += std::to_string(3 + 2 * k) + " 0 R ";
    }
    bodies.push_back("<< /Type /Catalog /Pages 2 0 R >>");
    bodies.push_back("<< /Type /Pages /Kids [ " + kids + "] /Count " +
                     std::to_string(pageContents.size()) + " >>");
    for (std::size_t k = 0; k < pageContents.size(); ++k) {
        bodies.push_back("<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Contents " +
                         std::to_string(4 + 2 * k) + " 0 R " + pageExtra + " >>");
        bodies.push_back(StreamBody("", pageContents[k]));
    }
    return bodies;
}

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tessary-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        throw std::runtime_error("mkdtemp failed");
    }
    path = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

std::string TempDir::Write(const std::string& name, const std::string& bytes) const {
    std::filesystem::path file = path / name;
    std::ofstream out(file, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return file.string();
}

std::string ReadFileBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

}  // namespace tessary::test
