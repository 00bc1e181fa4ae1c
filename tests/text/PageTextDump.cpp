// Prints the text of every page of a PDF file in UTF-8 at a width (default
// 78), a form feed after each page. Used by the corpus scores.
#include <cstdio>
#include <string>

#include "support/TestSupport.h"

int main(int argc, char** argv) {
    const std::string text =
        argc < 2 ? "(not opened)"
                 : tessary::test::DocumentText(argv[1], "", argc > 2 ? std::stoi(argv[2]) : 78);
    if (text == "(not opened)") {
        std::fprintf(stderr, "usage: page_text_dump FILE.pdf [WIDTH]\n");
        return 1;
    }
    std::fwrite(text.data(), 1, text.size(), stdout);
    return 0;
}
