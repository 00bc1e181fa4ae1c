#include "support/PdfBuilder.h"

#include <cstdio>

namespace tessary::test {

namespace {

std::string XrefEntry(std::size_t offset, int generation, char marker) {
    char entry[21];
    std::snprintf(entry, sizeof entry, "%010zu %05d %c\r\n", offset, generation, marker);
    return std::string(entry, 20);
}

std::string Section(std::size_t size, const std::string& entries, std::size_t xref) {
    return "trailer\n<< /Size " + std::to_string(size) + " " + entries + " >>\nstartxref\n" +
           std::to_string(xref) + "\n%%EOF\n";
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

std::string PdfBuilder::Build() const {
    std::string out = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";
    auto write = [&](std::size_t number, const std::string& body) {
        std::string entry = XrefEntry(out.size(), 0, 'n');
        out += std::to_string(number) + " 0 obj\n" + body + "\nendobj\n";
        return entry;
    };
    std::size_t size = bodies.size() + 1;
    std::string table = "xref\n0 " + std::to_string(size) + "\n" + XrefEntry(0, 65535, 'f');
    for (std::size_t n = 1; n < size; ++n)
        table += bodies[n - 1].empty() ? XrefEntry(0, 0, 'f') : write(n, bodies[n - 1]);
    std::size_t xref = out.size();
    out += table + Section(size, trailerEntries, xref);
    for (const auto& [objects, trailer] : updates) {
        table = "xref\n";
        for (const auto& [number, body] : objects) {
            table += std::to_string(number) + " 1\n" + write(number, body);
            size = std::max(size, static_cast<std::size_t>(number) + 1);
        }
        std::string entries = "/Prev " + std::to_string(xref) + " " + trailer;
        xref = out.size();
        out += table + Section(size, entries, xref);
    }
    return out;
}

std::vector<std::string> SimpleDocument(const std::vector<std::string>& pageContents,
                                        const std::string& pageExtra) {
    std::string kids;
    std::vector<std::string> bodies = {"<< /Type /Catalog /Pages 2 0 R >>", ""};
    for (std::size_t k = 0; k < pageContents.size(); ++k) {
        kids += std::to_string(3 + 2 * k) + " 0 R ";
        bodies.push_back("<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Contents " +
                         std::to_string(4 + 2 * k) + " 0 R " + pageExtra + " >>");
        bodies.push_back(StreamBody("", pageContents[k]));
    }
    bodies[1] = "<< /Type /Pages /Kids [ " + kids + "] /Count " +
                std::to_string(pageContents.size()) + " >>";
    return bodies;
}

}  // namespace tessary::test
