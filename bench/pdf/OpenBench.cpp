// Opens PDF files and walks all their pages, reporting the time per file and
// per page. Usage: open_bench [FILE.pdf | FOLDER]...  (default: the test corpus)
// With --flat N it also builds a flat page tree of N pages and walks it.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "pdf/PdfDocument.h"
#include "pdf/PdfObjectStore.h"

using namespace tessary;
using Clock = std::chrono::steady_clock;

namespace {

struct Result {
    int pages = 0;
    double seconds = 0;
    bool opened = false;
};

Result Walk(const std::string& path, int repeat) {
    Result result;
    auto start = Clock::now();
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
    result.seconds = std::chrono::duration<double>(Clock::now() - start).count() / repeat;
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

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> inputs;
    int flat = 100000;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--flat" && i + 1 < argc) {
            flat = std::stoi(argv[++i]);
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

    if (flat > 0) {
        std::string path =
            (std::filesystem::temp_directory_path() / "tessary-flat-tree.pdf").string();
        std::ofstream(path, std::ios::binary) << FlatTree(flat);
        Result r = Walk(path, 1);
        std::printf("flat tree of %d pages: %d found in %.1f ms (%.2f us/page)\n", flat, r.pages,
                    r.seconds * 1e3, r.seconds * 1e6 / std::max(1, r.pages));
        std::filesystem::remove(path);
    }
    return 0;
}
