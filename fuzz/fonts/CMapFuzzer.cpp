// Arbitrary bytes as a CMap, the /Encoding and the /ToUnicode of a composite
// font; then the same bytes shown as a string in that font.
#include <cstdint>
#include <string>

#include "fonts/PdfFont.h"
#include "pdf/PdfParser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tessary;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    PdfParser parser;
    parser.AttachBuffer(nullptr,
                        "<< /Subtype /Type0 /DescendantFonts [ << /W [ 0 [ 500 ] ] >> ] >>");
    ObjectHandle dict = parser.ReadObject(0, 0);
    auto* dictionary = const_cast<PdfDictionary*>(AsDictionary(dict.get()));
    for (const char* key : {"/Encoding", "/ToUnicode"}) {
        dictionary->SetValue(key, MakeObject<PdfStream>(bytes));
    }
    std::unique_ptr<PdfFont> font = LoadFont(dictionary);
    std::uint32_t sum = font->spaceWidth;
    std::size_t position = 0;
    for (std::uint32_t code = 0; font->NextCode(bytes, position, code);) {
        sum += font->GetWidth(code) + static_cast<std::uint32_t>(font->GetText(code).size());
    }
    return sum == 1 ? 0 : 0;
}
