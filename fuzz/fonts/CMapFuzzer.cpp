// Arbitrary bytes as a font's /ToUnicode CMap: read it, then decode codes.
#include <cstdint>
#include <string>

#include "fonts/PdfFont.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tessary;
    const std::string cmap(reinterpret_cast<const char*>(data), size);
    PdfFont font;
    font.LoadCMap(&cmap);
    std::uint32_t sum = 0;
    for (std::uint32_t code = 0; code < 0x200; ++code) {
        sum += font.GetUnicode(code);
    }
    for (std::uint32_t code : {0xFFFFu, 0x10000u, 0xFFFFFFFFu}) {
        sum += font.GetUnicode(code);
    }
    return sum == 1 ? 0 : 0;
}
