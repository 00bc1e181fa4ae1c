// Arbitrary bytes as a page's content stream, run with a few fonts loaded (a
// standard font, one with odd widths and /Differences, one with WinAnsi) and
// laid out at a few widths in two code pages.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "pdf/PdfObjectStore.h"
#include "pdf/PdfParser.h"
#include "text/PageTextExtractor.h"

namespace {

const char* kResources =
    "<< /Font << /F1 << /Type /Font /Subtype /Type1 /BaseFont /Helvetica >> "
    "/F2 << /Type /Font /Subtype /Type1 /BaseFont /X /FirstChar 32 /Widths [250 333 500 -7 70000] "
    "/Encoding << /Differences [32 /space /A /eacute /Euro] >> "
    "/FontDescriptor << /Ascent 700 /Descent -200 /MissingWidth 500 >> >> "
    "/F3 << /Type /Font /Subtype /Type1 /BaseFont /Courier /Encoding /WinAnsiEncoding >> >> "
    "/ColorSpace << /C0 [/ICCBased 1 0 R] /C1 [/CalRGB << >>] >> >>";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tessary;
    static PdfObjectStore store(nullptr);
    static const ObjectHandle resources = [] {
        PdfParser parser;
        parser.AttachBuffer(nullptr, kResources);
        return parser.ReadObject(0, 0);
    }();
    const std::string_view content(reinterpret_cast<const char*>(data), size);
    for (const std::int32_t width : {78, 0, 7}) {
        PageTextExtractor extractor(store, width == 7 ? CodePage::Ascii() : CodePage::Utf8());
        extractor.LoadPageFonts(AsDictionary(resources.get()));
        extractor.RunContent(content);
        std::vector<std::string> lines;
        extractor.GetLines().LayOutLines(lines, width);
    }
    return 0;
}
