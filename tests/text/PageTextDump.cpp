// Prints the text of every page of a PDF file in UTF-8 at a width (default
// 78), one line per line and a form feed between pages. Used by the corpus
// scores; not an end-user tool.
#include <cstdio>
#include <string>
#include <vector>

#include "pdf/PdfDocument.h"
#include "pdf/PdfObjectStore.h"
#include "text/PageText.h"

int main(int argc, char** argv) {
    using namespace tessary;
    if (argc < 2) {
        std::fprintf(stderr, "usage: page_text_dump FILE.pdf [WIDTH]\n");
        return 2;
    }
    const int width = argc > 2 ? std::stoi(argv[2]) : 78;
    PdfDocument document;
    if (!document.Open(argv[1], false, nullptr, nullptr)) {
        std::fprintf(stderr, "could not open %s\n", argv[1]);
        return 1;
    }
    PdfObjectStore& store = *document.GetStore();
    ObjectHandle catalog = store.GetCatalog();
    ObjectHandle root = DictionaryOrEmpty(catalog.get()).GetValue("/Pages");
    const int count = DictionaryOrEmpty(root.get()).GetValueInteger("/Count");
    std::vector<std::string> lines;
    for (int i = 0; i < count; ++i) {
        ObjectHandle page = store.GetPage(i);
        ExtractPageText(lines, store, AsDictionary(page.get()), width, CodePage::Utf8());
        for (const std::string& line : lines) {
            std::fwrite(line.data(), 1, line.size(), stdout);
            std::fputc('\n', stdout);
        }
        std::fputc('\f', stdout);
    }
    return 0;
}
