// Times the font operations that text showing calls for every character
// (NextCode, GetUnicode, GetCharWidth, ConvertToText) and the loading of
// fonts and CMaps. Usage: font_bench
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>

#include "fonts/PdfFont.h"
#include "fonts/TextConversion.h"
#include "pdf/PdfParser.h"

using namespace tessary;
using Clock = std::chrono::steady_clock;

namespace {

double Seconds(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

PdfFont Load(const std::string& dictText, const std::string& toUnicode = {}) {
    PdfParser parser;
    parser.AttachBuffer(nullptr, dictText);
    ObjectHandle dict = parser.ReadObject(0, 0);
    auto* dictionary = const_cast<PdfDictionary*>(AsDictionary(dict.get()));
    if (dictionary && !toUnicode.empty()) {
        dictionary->SetValue("/ToUnicode", MakeObject<PdfStream>(toUnicode));
    }
    PdfFont font;
    font.Load(dictionary);
    return font;
}

void TimeCharacters(const char* name, const PdfFont& font, const std::string& text) {
    const CodePage codePage = CodePage::Utf8();
    std::uint64_t sum = 0;
    auto start = Clock::now();
    std::size_t position = 0;
    for (std::uint32_t code = 0; font.NextCode(text, position, code);) {
        const std::uint16_t unicode = font.GetUnicode(code);
        sum += font.GetCharWidth(code, unicode);
    }
    const double lookup = Seconds(start);
    start = Clock::now();
    position = 0;
    for (std::uint32_t code = 0; font.NextCode(text, position, code);) {
        sum += ConvertToText(font.GetUnicode(code), codePage, "?").size();
    }
    const double convert = Seconds(start);
    std::printf(
        "%-28s code+unicode+width %5.2f ns/char, ConvertToText (UTF-8) %5.2f ns/char (%llu)\n",
        name, lookup * 1e9 / text.size(), convert * 1e9 / text.size(),
        static_cast<unsigned long long>(sum));
}

}  // namespace

int main() {
    std::mt19937 random(1);
    std::string text(20'000'000, ' ');
    for (char& c : text) {
        c = static_cast<char>(32 + random() % 224);
    }
    std::string widths = "/FirstChar 32 /Widths [";
    for (int i = 32; i < 256; ++i) {
        widths += " " + std::to_string(250 + i);
    }
    widths += " ]";
    std::string cmap = "100 beginbfchar";
    for (int code = 32; code < 132; ++code) {
        char entry[32];
        std::snprintf(entry, sizeof entry, " <%02X> <%04X>", code, code + 0x100);
        cmap += entry;
    }
    cmap += " endbfchar";

    TimeCharacters("Helvetica (built-in widths)", Load("<< /BaseFont /Helvetica >>"), text);
    TimeCharacters("WinAnsi with /Widths", Load("<< /Encoding /WinAnsiEncoding " + widths + " >>"),
                   text);
    TimeCharacters("ToUnicode with /Widths", Load("<< " + widths + " >>", cmap), text);

    const std::string fullRange = "beginbfrange <0000> <FFFF> <0000> endbfrange";
    auto start = Clock::now();
    constexpr int kRepeat = 20;
    for (int r = 0; r < kRepeat; ++r) {
        Load("<< >>", fullRange);
    }
    std::printf("load: CMap mapping all 65536 codes %.2f ms\n", Seconds(start) * 1e3 / kRepeat);
    start = Clock::now();
    for (int r = 0; r < 1000; ++r) {
        Load("<< /BaseFont /Helvetica /Encoding /WinAnsiEncoding " + widths + " >>", cmap);
    }
    std::printf("load: font with /Widths and a 100-entry ToUnicode %.1f us\n",
                Seconds(start) * 1e6 / 1000);
    return 0;
}
