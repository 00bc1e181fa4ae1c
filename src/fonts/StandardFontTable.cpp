#include "fonts/StandardFontTable.h"

namespace tessary {

// Every standard font starts from the Standard encoding, Symbol and ZapfDingbats too.
// The oblique faces share the widths of their upright faces.
constinit const std::array<StandardFont, StandardFontCount> StandardFontTable = {{
    {"/Courier", 600, 624, 207, BaseEncoding::Standard, {}},
    {"/Courier-Bold", 600, 674, 257, BaseEncoding::Standard, {}},
    {"/Courier-BoldOblique", 600, 674, 257, BaseEncoding::Standard, {}},
    {"/Courier-Oblique", 600, 624, 207, BaseEncoding::Standard, {}},
    {"/Helvetica", 278, 718, 207, BaseEncoding::Standard, HelveticaMetrics},
    {"/Helvetica-Bold", 278, 718, 207, BaseEncoding::Standard, HelveticaBoldMetrics},
    {"/Helvetica-BoldOblique", 278, 718, 207, BaseEncoding::Standard, HelveticaBoldMetrics},
    {"/Helvetica-Oblique", 278, 718, 207, BaseEncoding::Standard, HelveticaMetrics},
    {"/Times-Roman", 250, 683, 217, BaseEncoding::Standard, TimesRomanMetrics},
    {"/Times-Bold", 250, 676, 205, BaseEncoding::Standard, TimesBoldMetrics},
    {"/Times-Italic", 250, 683, 205, BaseEncoding::Standard, TimesItalicMetrics},
    {"/Times-BoldItalic", 250, 699, 205, BaseEncoding::Standard, TimesBoldItalicMetrics},
    {"/Symbol", 400, 800, 200, BaseEncoding::Standard, {}},
    {"/ZapfDingbats", 400, 800, 200, BaseEncoding::Standard, {}},
}};

int FindStandardFont(std::string_view baseFont) {
    for (std::size_t row = 0; row < StandardFontTable.size(); ++row) {
        if (StandardFontTable[row].name == baseFont) {
            return static_cast<int>(row);
        }
    }
    return -1;
}

std::optional<std::uint16_t> LookupCharWidth(std::span<const CharWidth> metrics,
                                             std::uint16_t unicode) {
    int low = 0;
    int high = static_cast<int>(metrics.size()) - 1;
    while (low <= high) {
        const int middle = (low + high) / 2;
        if (metrics[middle].unicode < unicode) {
            low = middle + 1;
        } else if (metrics[middle].unicode > unicode) {
            high = middle - 1;
        } else {
            return metrics[middle].width;
        }
    }
    return std::nullopt;
}

}  // namespace tessary
