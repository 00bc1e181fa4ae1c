// Prints the text of every page of a PDF file in UTF-8 at a width (default
// 78), a form feed after each page. Used by the corpus scores.
#include <cstdio>
#include <string>
#include <vector>

#include "pdf/PdfDocument.h"
#include "pdf/PdfObjectStore.h"
#include "text/PageText.h"

int main(int argc, char** argv) {
    using namespace tessary;
    PdfDocument document;
    if (argc < 2 || !document.Open(argv[1], false, nullptr, nullptr)) {
        std::fprintf(stderr, "usage: page_text_dump FILE.pdf [WIDTH]\n");
        return 1;
    }
    PdfObjectStore& store = *document.GetStore();
    std::vector<std::string> lines;
    for (int i = 0; ObjectHandle page = store.GetPage(i); ++i) {
        ExtractPageText(lines, store, AsDictionary(page.get()), argc > 2 ? std::stoi(argv[2]) : 78,
                        CodePage::Utf8());
        for (const std::string& line : lines) {
            std::fwrite(line.data(), 1, line.size(), stdout);
            std::fputc('\n', stdout);
        }
        std::fputc('\f', stdout);
    }
    return 0;
}
