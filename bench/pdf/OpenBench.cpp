// Opens PDF files and walks all their pages, reporting the time per file and
// per page. Usage: open_bench [FILE.pdf | FOLDER]... [--flat N] [--objstm N]
// (default: the test corpus). It also builds and walks a flat page tree of N
// pages (default 100,000), and files whose pages are small objects in object
// streams: N of them in streams of 100 objects, and 10,000
// and 1,000 in a single stream, which shows that the cost per object stays
// the same however many objects a stream holds.
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "pdf/PdfDocument.h"
#include "pdf/PdfObjectStore.h"

using namespace tessary;

namespace {

struct Result {
    int pages = 0;
    double seconds = 0;
    bool opened = false;
};

Result Walk(const std::string& path, int repeat) {
    Result result;
    // Processor time, which stays steady on a machine that runs other work.
    const std::clock_t start = std::clock();
    for (int r = 0; r < repeat; ++r) {
        PdfDocument document;
        result.opened = document.Open(path, false, nullptr, nullptr);
        if (!result.opened)
            break;
        PdfObjectStore& store = *document.GetStore();
        ObjectHandle catalog = store.GetCatalog();
        ObjectHandle root = DictionaryOrEmpty(catalog.get()).GetValue("/Pages");
        const int count = DictionaryOrEmpty(root.get()).GetValueInteger("/Count");
        result.pages = 0;
        for (int i = 0; i < count; ++i) {
            if (store.GetPage(i))
                ++result.pages;
        }
    }
    result.seconds = static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC / repeat;
    return result;
}

std::string FlatTree(int pages) {
    std::string out = "%PDF-1.4\n";
    std::vector<long> offsets;
    auto add = [&](const std::string& body) {
        offsets.push_back(static_cast<long>(out.size()));
        out += std::to_string(offsets.size()) + " 0 obj\n" + body + "\nendobj\n";
    };
    add("<< /Type /Catalog /Pages 2 0 R >>");
    std::string kids;
    for (int k = 0; k < pages; ++k)
        kids += std::to_string(3 + k) + " 0 R ";
    add("<< /Type /Pages /Kids [" + kids + "] /Count " + std::to_string(pages) + " >>");
    for (int k = 0; k < pages; ++k)
        add("<< /Type /Page /Parent 2 0 R >>");
    long xref = static_cast<long>(out.size());
    out += "xref\n0 " + std::to_string(offsets.size() + 1) + "\n0000000000 65535 f\r\n";
    char entry[24];
    for (long offset : offsets) {
        std::snprintf(entry, sizeof entry, "%010ld 00000 n\r\n", offset);
        out += entry;
    }
    out += "trailer\n<< /Size " + std::to_string(offsets.size() + 1) +
           " /Root 1 0 R >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
    return out;
}

// Catalog 1 and page tree root 2 in the file; pages 3 to N + 2 in object
// streams of `perStream` objects each; a cross-reference stream. Reading a
// stream again for each of its objects would show as a cost per object that
// grows with the stream.
std::string ObjectStreamTree(int pages, int perStream) {
    std::string out = "%PDF-1.5\n";
    struct Entry {
        int type;
        long second, third;
    };
    std::vector<Entry> entries(3 + pages, {0, 0, 0});
    auto add = [&](int number, const std::string& body) {
        entries.resize(std::max<std::size_t>(entries.size(), number + 1));
        entries[number] = {1, static_cast<long>(out.size()), 0};
        out += std::to_string(number) + " 0 obj\n" + body + "\nendobj\n";
    };
    add(1, "<< /Type /Catalog /Pages 2 0 R >>");
    std::string kids;
    for (int k = 0; k < pages; ++k)
        kids += std::to_string(3 + k) + " 0 R ";
    add(2, "<< /Type /Pages /Kids [" + kids + "] /Count " + std::to_string(pages) + " >>");
    int next = 3 + pages;
    for (int first = 0; first < pages; first += perStream) {
        const int count = std::min(perStream, pages - first);
        std::string header, objects;
        for (int k = 0; k < count; ++k) {
            header += std::to_string(3 + first + k) + " " + std::to_string(objects.size()) + " ";
            objects += "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] >>\n";
            entries[3 + first + k] = {2, next, k};
        }
        const std::string data = header + objects;
        add(next++, "<< /Type /ObjStm /N " + std::to_string(count) + " /First " +
                        std::to_string(header.size()) + " /Length " + std::to_string(data.size()) +
                        " >>\nstream\n" + data + "\nendstream");
    }
    const long xref = static_cast<long>(out.size());
    entries.resize(next + 1);
    entries[next] = {1, xref, 0};
    std::string table;
    for (const Entry& e : entries) {
        table += static_cast<char>(e.type);
        for (int shift = 24; shift >= 0; shift -= 8)
            table += static_cast<char>((e.second >> shift) & 0xFF);
        table += static_cast<char>((e.third >> 8) & 0xFF);
        table += static_cast<char>(e.third & 0xFF);
    }
    out += std::to_string(next) + " 0 obj\n<< /Type /XRef /W [1 4 2] /Size " +
           std::to_string(entries.size()) + " /Root 1 0 R /Length " + std::to_string(table.size()) +
           " >>\nstream\n" + table + "\nendstream\nendobj\n";
    out += "startxref\n" + std::to_string(xref) + "\n%%EOF\n";
    return out;
}

void WalkGenerated(const char* what, const std::string& pdf, int pages) {
    const std::string path =
        (std::filesystem::temp_directory_path() / "tessary-open-bench.pdf").string();
    std::ofstream(path, std::ios::binary) << pdf;
    Result r = Walk(path, 1);
    std::printf("%s: %d of %d pages found in %.1f ms (%.2f us/page)\n", what, r.pages, pages,
                r.seconds * 1e3, r.seconds * 1e6 / std::max(1, r.pages));
    std::filesystem::remove(path);
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> inputs;
    int flat = 100000;
    int packed = 100000;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--flat" && i + 1 < argc) {
            flat = std::stoi(argv[++i]);
        } else if (arg == "--objstm" && i + 1 < argc) {
            packed = std::stoi(argv[++i]);
        } else {
            inputs.push_back(arg);
        }
    }
    if (inputs.empty())
        inputs.push_back(TESSARY_CORPUS_DIR);
    std::vector<std::string> files;
    for (const std::string& input : inputs) {
        if (std::filesystem::is_directory(input)) {
            for (const auto& entry : std::filesystem::recursive_directory_iterator(input)) {
                if (entry.path().extension() == ".pdf")
                    files.push_back(entry.path().string());
            }
        } else {
            files.push_back(input);
        }
    }
    std::sort(files.begin(), files.end());
    int totalPages = 0;
    double totalSeconds = 0;
    std::printf("%-55s %6s %10s %10s\n", "file", "pages", "ms/open", "us/page");
    for (const std::string& file : files) {
        Result r = Walk(file, 20);
        if (!r.opened) {
            std::printf("%-55s %6s\n", std::filesystem::path(file).filename().c_str(),
                        "(not opened)");
            continue;
        }
        totalPages += r.pages;
        totalSeconds += r.seconds;
        std::printf("%-55s %6d %10.3f %10.2f\n", std::filesystem::path(file).filename().c_str(),
                    r.pages, r.seconds * 1e3, r.pages ? r.seconds * 1e6 / r.pages : 0.0);
    }
    std::printf("total: %d pages in %.3f ms (open + walk), %.0f pages/s\n", totalPages,
                totalSeconds * 1e3, totalPages / totalSeconds);

    if (flat > 0)
        WalkGenerated("flat tree", FlatTree(flat), flat);
    if (packed > 0) {
        WalkGenerated("object streams of 100 pages", ObjectStreamTree(packed, 100), packed);
        WalkGenerated("one object stream of 10,000 pages", ObjectStreamTree(10000, 10000), 10000);
        WalkGenerated("one object stream of 1,000 pages", ObjectStreamTree(1000, 1000), 1000);
    }
    return 0;
}
