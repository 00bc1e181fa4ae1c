#include "support/PdfBuilder.h"

#include <algorithm>
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

// One entry of a cross-reference stream: type, second and third field.
struct StreamEntry {
    std::size_t type, second, third;
};

std::string Field(std::size_t value, int width) {
    std::string bytes;
    for (int k = width - 1; k >= 0; --k)
        bytes += static_cast<char>(k < 8 ? (value >> (8 * k)) & 0xFF : 0);
    return bytes;
}

}  // namespace

std::string LastStartxref(const std::string& pdf) {
    const std::size_t at = pdf.rfind("startxref\n") + 10;
    return pdf.substr(at, pdf.find('\n', at) - at);
}

std::string AppendUpdate(std::string pdf, const std::map<int, std::string>& objects,
                         const std::string& trailerEntries) {
    const std::string previous = LastStartxref(pdf);
    std::string table = "xref\n";
    for (const auto& [number, body] : objects) {
        table += std::to_string(number) + " 1\n" + XrefEntry(pdf.size(), 0, 'n');
        pdf += std::to_string(number) + " 0 obj\n" + body + "\nendobj\n";
    }
    const std::size_t xref = pdf.size();
    return pdf + table + "trailer\n<< " + trailerEntries + " /Prev " + previous +
           " >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
}

std::string StreamBody(const std::string& entries, const std::string& data) {
    return "<< " + entries + " /Length " + std::to_string(data.size()) + " >>\nstream\r\n" + data +
           "\nendstream";
}

PdfBuilder::PdfBuilder(std::vector<std::string> objectBodies, std::string trailer)
    : bodies(std::move(objectBodies)), trailerEntries(std::move(trailer)) {}

PdfBuilder& PdfBuilder::UseXrefStream(std::array<int, 3> fieldWidths, bool split) {
    xrefStream = true;
    widths = fieldWidths;
    splitIndex = split;
    return *this;
}

PdfBuilder& PdfBuilder::UseObjectStream(std::vector<int> numbers, std::string extraEntries) {
    packed = std::move(numbers);
    objectStreamEntries = std::move(extraEntries);
    xrefStream = !hybrid;
    return *this;
}

PdfBuilder& PdfBuilder::MakeHybrid() {
    hybrid = true;
    xrefStream = false;
    return *this;
}

PdfBuilder& PdfBuilder::AddUpdate(std::map<int, std::string> objects, std::string trailer,
                                  bool asStream) {
    updates.push_back({std::move(objects), std::move(trailer), asStream});
    return *this;
}

std::string PdfBuilder::Build() const {
    std::string out = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";
    std::map<std::size_t, StreamEntry> entries{{0, {0, 0, 65535}}};
    auto write = [&](std::size_t number, const std::string& body) {
        entries[number] = {1, out.size(), 0};
        out += std::to_string(number) + " 0 obj\n" + body + "\nendobj\n";
    };
    // A cross-reference stream over `numbers`, one /Index pair per run.
    auto writeXrefStream = [&](std::size_t number, const std::vector<std::size_t>& numbers,
                               const std::string& dictEntries) {
        entries[number] = {1, out.size(), 0};
        std::string data, index;
        std::vector<std::pair<std::size_t, std::size_t>> runs;
        for (std::size_t k = 0; k < numbers.size(); ++k) {
            const StreamEntry& e = entries[numbers[k]];
            data +=
                Field(e.type, widths[0]) + Field(e.second, widths[1]) + Field(e.third, widths[2]);
            if (k > 0 && numbers[k] == numbers[k - 1] + 1)
                ++runs.back().second;
            else
                runs.emplace_back(numbers[k], 1);
        }
        for (const auto& [first, count] : runs)
            index += " " + std::to_string(first) + " " + std::to_string(count);
        const std::size_t offset = out.size();
        out += std::to_string(number) + " 0 obj\n" +
               StreamBody("/Type /XRef /W [" + std::to_string(widths[0]) + " " +
                              std::to_string(widths[1]) + " " + std::to_string(widths[2]) +
                              "] /Index [" + index + " ] " + dictEntries,
                          data) +
               "\nendobj\n";
        return offset;
    };
    auto numbersUpTo = [](std::size_t size) {
        std::vector<std::size_t> numbers(size);
        for (std::size_t n = 0; n < size; ++n)
            numbers[n] = n;
        return numbers;
    };

    std::size_t size = bodies.size() + 1;
    for (std::size_t n = 1; n < size; ++n) {
        if (bodies[n - 1].empty())
            entries[n] = {0, 0, 0};
        else if (std::find(packed.begin(), packed.end(), static_cast<int>(n)) == packed.end())
            write(n, bodies[n - 1]);
    }
    if (!packed.empty()) {
        const std::size_t streamNumber = size++;
        std::string header, objects;
        for (std::size_t k = 0; k < packed.size(); ++k) {
            header += std::to_string(packed[k]) + " " + std::to_string(objects.size()) + " ";
            objects += bodies[packed[k] - 1] + "\n";
            entries[packed[k]] = {2, streamNumber, k};
        }
        write(streamNumber,
              StreamBody("/Type /ObjStm /N " + std::to_string(packed.size()) + " /First " +
                             std::to_string(header.size()) + " " + objectStreamEntries,
                         header + objects));
    }

    std::size_t xref;
    if (xrefStream) {
        const std::size_t number = size++;
        std::vector<std::size_t> numbers = numbersUpTo(size);
        if (splitIndex) {
            // Two subsections, the second first in the data as /Index lists it.
            std::rotate(numbers.begin(), numbers.begin() + 2, numbers.end());
        }
        xref = writeXrefStream(number, numbers,
                               "/Size " + std::to_string(size) + " " + trailerEntries);
        out += "startxref\n" + std::to_string(xref) + "\n%%EOF\n";
    } else {
        std::string extra;
        if (hybrid) {
            std::vector<std::size_t> numbers(packed.begin(), packed.end());
            std::sort(numbers.begin(), numbers.end());
            const std::size_t number = size++;
            numbers.push_back(number);
            extra = " /XRefStm " + std::to_string(writeXrefStream(number, numbers,
                                                                  "/Size " + std::to_string(size)));
        }
        std::string table = "xref\n0 " + std::to_string(size) + "\n";
        for (std::size_t n = 0; n < size; ++n) {
            const StreamEntry& e = entries[n];
            table +=
                e.type == 1 ? XrefEntry(e.second, 0, 'n') : XrefEntry(0, n == 0 ? 65535 : 0, 'f');
        }
        xref = out.size();
        out += table + Section(size, trailerEntries + extra, xref);
    }

    for (const Update& update : updates) {
        for (const auto& [number, body] : update.objects)
            size = std::max(size, static_cast<std::size_t>(number) + 1);
        if (!update.asStream) {
            out = AppendUpdate(out, update.objects,
                               "/Size " + std::to_string(size) + " " + update.trailer);
            continue;
        }
        const std::string previous = "/Prev " + LastStartxref(out) + " ";
        std::vector<std::size_t> numbers;
        for (const auto& [number, body] : update.objects) {
            write(number, body);
            numbers.push_back(number);
        }
        numbers.push_back(size++);
        xref = writeXrefStream(numbers.back(), numbers,
                               "/Size " + std::to_string(size) + " " + previous + update.trailer);
        out += "startxref\n" + std::to_string(xref) + "\n%%EOF\n";
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
