// Arbitrary bytes as a page's content stream, run with a few fonts loaded (a
// standard font, one with odd widths and /Differences, one with WinAnsi, a
// Type 3 font) and forms to draw (a turned one that draws the next, a form
// that draws itself, the input itself as a mirrored form, an image), laid out
// at a few widths in two code pages.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "pdf/PdfObjectStore.h"
#include "pdf/PdfParser.h"
#include "text/PageTextExtractor.h"

namespace {

using namespace tessary;

const char* kResources =
    "<< /Font << /F1 << /Type /Font /Subtype /Type1 /BaseFont /Helvetica >> "
    "/F2 << /Type /Font /Subtype /Type1 /BaseFont /X /FirstChar 32 /Widths [250 333 500 -7 70000] "
    "/Encoding << /Differences [32 /space /A /eacute /Euro] >> "
    "/FontDescriptor << /Ascent 700 /Descent -200 /MissingWidth 500 >> >> "
    "/F3 << /Type /Font /Subtype /Type1 /BaseFont /Courier /Encoding /WinAnsiEncoding >> "
    "/F4 << /Type /Font /Subtype /Type3 /FontMatrix [0.01 0 0 0.01 0 0] /FirstChar 65 "
    "/Widths [50 60.5] >> >> "
    "/ColorSpace << /C0 [/ICCBased 1 0 R] /C1 [/CalRGB << >>] >> >>";

ObjectHandle Parse(std::string_view text) {
    PdfParser parser;
    parser.AttachBuffer(nullptr, text);
    return parser.ReadObject(0, 0);
}

// A stream with the dictionary and data given (the memory-mode parser reads
// no streams).
ObjectHandle MakeStream(std::string_view dict, std::string data) {
    auto stream = MakeObject<PdfStream>(std::move(data));
    static_cast<PdfStream&>(*stream).dictionary.reset(
        const_cast<PdfDictionary*>(AsDictionary(Parse(dict).release())));
    return stream;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static PdfObjectStore store(nullptr);
    static const ObjectHandle resources = [] {
        ObjectHandle dict = Parse(kResources);
        auto forms = MakeObject<PdfDictionary>();
        auto& entries = static_cast<PdfDictionary&>(*forms);
        entries.SetValue("/Turned", MakeStream("<< /Subtype /Form /Matrix [0 1 -1 0 600 0] >>",
                                               "BT /F1 9 Tf 50 50 Td (Turned) Tj ET /Self Do"));
        entries.SetValue("/Self", MakeStream("<< /Subtype /Form /Matrix [0.5 0 0 0.5 9 9] >>",
                                             "q 1 0 0 -1 0 100 cm /F3 8 Tf (S) Tj /Self Do Q Q"));
        entries.SetValue("/Im", MakeStream("<< /Subtype /Image /Width 1 /Height 1 >>", "x"));
        auto* dictionary = const_cast<PdfDictionary*>(AsDictionary(dict.get()));
        dictionary->SetValue("/XObject", std::move(forms));
        return dict;
    }();
    const std::string_view content(reinterpret_cast<const char*>(data), size);
    // The input again as a form, mirrored and with resources of its own.
    auto* forms = const_cast<PdfDictionary*>(
        AsDictionary(AsDictionary(resources.get())->PeekValue("/XObject")));
    forms->SetValue("/In", MakeStream("<< /Subtype /Form /Matrix [-1 0 0 1 600 0] /Resources << "
                                      "/Font << /F1 << /Subtype /Type1 /BaseFont /Times-Roman >> "
                                      ">> >> >>",
                                      std::string(content)));
    for (const std::int32_t width : {78, 0, 7}) {
        PageTextExtractor extractor(store, width == 7 ? CodePage::Ascii() : CodePage::Utf8());
        extractor.LoadPageFonts(AsDictionary(resources.get()));
        if (width != 0) {
            extractor.GetFrames().SetPageBox({0, 0, 612, 792});
        }
        extractor.RunContent(content);
        std::vector<std::string> lines;
        extractor.GetFrames().LayOutLines(lines, width);
    }
    return 0;
}
