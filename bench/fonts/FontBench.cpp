// Times the font operations that text showing calls for every character
// (NextCode, GetText, GetWidth, ConvertToText) in simple and two-byte fonts,
// and the loading of fonts and CMaps. Usage: font_bench
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

std::unique_ptr<PdfFont> Load(const std::string& dictText, const std::string& toUnicode = {}) {
    PdfParser parser;
    parser.AttachBuffer(nullptr, dictText);
    ObjectHandle dict = parser.ReadObject(0, 0);
    auto* dictionary = const_cast<PdfDictionary*>(AsDictionary(dict.get()));
    if (dictionary && !toUnicode.empty()) {
        dictionary->SetValue("/ToUnicode", MakeObject<PdfStream>(toUnicode));
    }
    return LoadFont(dictionary);
}

void TimeCharacters(const char* name, const PdfFont& font, const std::string& text,
                    std::size_t characters) {
    const CodePage codePage = CodePage::Utf8();
    std::uint64_t sum = 0;
    auto start = Clock::now();
    std::size_t position = 0;
    for (std::uint32_t code = 0; font.NextCode(text, position, code);) {
        sum += font.GetText(code).size() + font.GetWidth(code);
    }
    const double lookup = Seconds(start);
    start = Clock::now();
    position = 0;
    for (std::uint32_t code = 0; font.NextCode(text, position, code);) {
        for (char32_t c : font.GetText(code)) {
            sum += ConvertToText(c, codePage, "?").size();
        }
    }
    const double convert = Seconds(start);
    std::printf(
        "%-30s code+text+width %5.2f ns/char, with ConvertToText (UTF-8) %5.2f ns/char (%llu)\n",
        name, lookup * 1e9 / characters, (lookup + convert) * 1e9 / characters,
        static_cast<unsigned long long>(sum));
}

}  // namespace

int main() {
    std::mt19937 random(1);
    constexpr std::size_t kCharacters = 20'000'000;
    std::string text(kCharacters, ' ');
    std::string twoByteText(2 * kCharacters, '\0');
    for (std::size_t i = 0; i < kCharacters; ++i) {
        text[i] = static_cast<char>(32 + random() % 224);
        twoByteText[2 * i + 1] = text[i];
    }
    std::string widths = "/FirstChar 32 /Widths [";
    std::string cidWidths = "/W [ 32 [";
    for (int i = 32; i < 256; ++i) {
        widths += " " + std::to_string(250 + i);
        cidWidths += " " + std::to_string(250 + i);
    }
    widths += " ]";
    cidWidths += " ] ]";
    std::string cmap = "100 beginbfchar";
    std::string twoByteCMap = "100 beginbfchar";
    for (int code = 32; code < 132; ++code) {
        char entry[32];
        std::snprintf(entry, sizeof entry, " <%02X> <%04X>", code, code + 0x100);
        cmap += entry;
        std::snprintf(entry, sizeof entry, " <%04X> <%04X>", code, code + 0x100);
        twoByteCMap += entry;
    }
    cmap += " endbfchar";
    twoByteCMap += " endbfchar beginbfrange <0084> <00FF> <0084> endbfrange";

    TimeCharacters("Helvetica (built-in widths)", *Load("<< /BaseFont /Helvetica >>"), text,
                   kCharacters);
    TimeCharacters("WinAnsi with /Widths", *Load("<< /Encoding /WinAnsiEncoding " + widths + " >>"),
                   text, kCharacters);
    TimeCharacters("ToUnicode with /Widths", *Load("<< " + widths + " >>", cmap), text,
                   kCharacters);
    TimeCharacters("Identity-H, ToUnicode and /W",
                   *Load("<< /Subtype /Type0 /Encoding /Identity-H /DescendantFonts [ << " +
                             cidWidths + " >> ] >>",
                         twoByteCMap),
                   twoByteText, kCharacters);

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
    start = Clock::now();
    for (int r = 0; r < 1000; ++r) {
        Load("<< /Subtype /Type0 /Encoding /Identity-H /DescendantFonts [ << " + cidWidths +
                 " >> ] >>",
             twoByteCMap);
    }
    std::printf("load: two-byte font with /W and a 224-entry ToUnicode %.1f us\n",
                Seconds(start) * 1e6 / 1000);
    return 0;
}
