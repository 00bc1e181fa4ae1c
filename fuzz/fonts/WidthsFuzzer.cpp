// Arbitrary bytes as the /W array and /DW of a composite font's descendant:
// load the font, then measure a range of codes.
#include <cstdint>
#include <string>

#include "fonts/PdfFont.h"
#include "pdf/PdfParser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tessary;
    std::string text = "<< /Subtype /Type0 /Encoding /Identity-H /DescendantFonts [ << /W [";
    text.append(reinterpret_cast<const char*>(data), size);
    text += "] /DW 300 >> ] >>";
    PdfParser parser;
    parser.AttachBuffer(nullptr, text);
    ObjectHandle dict = parser.ReadObject(0, 0);
    std::unique_ptr<PdfFont> font = LoadFont(AsDictionary(dict.get()));
    std::uint32_t sum = font->spaceWidth;
    for (std::uint32_t code = 0; code < 0x400; ++code) {
        sum += font->GetWidth(code);
    }
    for (std::uint32_t code : {0xFFFFu, 0x10000u, 0xFFFFFFFFu}) {
        sum += font->GetWidth(code);
    }
    return sum == 1 ? 0 : 0;
}
