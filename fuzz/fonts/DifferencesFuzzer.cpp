// Arbitrary bytes as the /Differences array of a font's /Encoding: load the
// font, then decode and measure every one-byte code.
#include <cstdint>
#include <string>

#include "fonts/PdfFont.h"
#include "pdf/PdfParser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tessary;
    std::string text =
        "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding << /Differences [";
    text.append(reinterpret_cast<const char*>(data), size);
    text += "] >> >>";
    PdfParser parser;
    parser.AttachBuffer(nullptr, text);
    ObjectHandle dict = parser.ReadObject(0, 0);
    std::unique_ptr<PdfFont> font = LoadFont(AsDictionary(dict.get()));
    std::uint32_t sum = font->spaceWidth;
    for (std::uint32_t code = 0; code < 256; ++code) {
        sum += font->GetWidth(code) + static_cast<std::uint32_t>(font->GetText(code).size());
    }
    return sum == 1 ? 0 : 0;
}
