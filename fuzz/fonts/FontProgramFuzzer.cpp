// Arbitrary bytes as an embedded font program of a simple font without an
// encoding: read as Type 1 or CFF and as a symbolic TrueType program.
#include <cstdint>
#include <string>

#include "fonts/PdfFont.h"
#include "pdf/PdfParser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tessary;
    std::uint32_t sum = 0;
    for (const char* key : {"/FontFile", "/FontFile2"}) {
        PdfParser parser;
        parser.AttachBuffer(nullptr, "<< /FontDescriptor << /Flags 4 >> >>");
        ObjectHandle dict = parser.ReadObject(0, 0);
        auto* descriptor = const_cast<PdfDictionary*>(
            AsDictionary(AsDictionary(dict.get())->PeekValue("/FontDescriptor")));
        descriptor->SetValue(
            key, MakeObject<PdfStream>(std::string(reinterpret_cast<const char*>(data), size)));
        std::unique_ptr<PdfFont> font = LoadFont(AsDictionary(dict.get()));
        for (std::uint32_t code = 0; code < 256; ++code) {
            sum += static_cast<std::uint32_t>(font->GetText(code).size());
        }
    }
    return sum == 1 ? 0 : 0;
}
