// Arbitrary bytes as a CMap: a composite font's /Encoding and /ToUnicode, then
// the same bytes shown as a string in it, and as a simple font's /ToUnicode.
#include <cstdint>
#include <string>

#include "fonts/PdfFont.h"
#include "pdf/PdfParser.h"

namespace {

std::uint32_t ShowAll(const tessary::PdfFont& font, std::string_view shown) {
    std::uint32_t sum = font.spaceWidth;
    std::size_t position = 0;
    for (std::uint32_t code = 0; font.NextCode(shown, position, code);) {
        sum += font.GetWidth(code) + static_cast<std::uint32_t>(font.GetText(code).size());
    }
    return sum;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tessary;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::uint32_t sum = 0;
    for (const char* dictText :
         {"<< /Subtype /Type0 /DescendantFonts [ << /W [ 0 [ 500 ] ] >> ] >>", "<< >>"}) {
        PdfParser parser;
        parser.AttachBuffer(nullptr, dictText);
        ObjectHandle dict = parser.ReadObject(0, 0);
        auto* dictionary = const_cast<PdfDictionary*>(AsDictionary(dict.get()));
        for (const char* key : {"/Encoding", "/ToUnicode"}) {
            auto stream = MakeObject<PdfStream>();
            static_cast<PdfStream&>(*stream).data = bytes;
            dictionary->SetValue(key, std::move(stream));
        }
        sum += ShowAll(*LoadFont(dictionary), bytes);
    }
    return sum == 1 ? 0 : 0;
}
