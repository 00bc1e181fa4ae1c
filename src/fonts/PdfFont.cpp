#include "fonts/PdfFont.h"

#include <algorithm>
#include <optional>
#include <string>

#include "fonts/FontLimits.h"
#include "fonts/GlyphList.h"
#include "fonts/StandardFontTable.h"
#include "platform/FontMeasurer.h"

namespace tessary {

namespace {

// The metrics of a font that gives none and isn't a standard font, and the
// width of a code that nothing else gives a width.
constexpr std::uint16_t kDefaultCharWidth = 400;
constexpr std::uint16_t kDefaultAscent = 700;
constexpr std::uint16_t kDefaultDescent = 200;

// Widths are never negative; one beyond 16 bits is held at the largest.
std::uint16_t ClampWidth(std::int32_t value) {
    return static_cast<std::uint16_t>(std::clamp<std::int32_t>(value, 0, 0xFFFF));
}

// Ascent and descent are distances from the baseline: some fonts write their
// /Descent as a positive number (and the odd one its /Ascent as a negative
// one), so the magnitude is taken rather than letting the sign wrap into a
// depth of many ems.
std::uint16_t ClampDistance(std::int32_t value) {
    const std::int64_t magnitude = value < 0 ? -static_cast<std::int64_t>(value) : value;
    return static_cast<std::uint16_t>(std::min<std::int64_t>(magnitude, 0xFFFF));
}

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

// A name's #xx escapes as the bytes they stand for (/Times#20New#20Roman is
// the family "Times New Roman").
std::string DecodeNameEscapes(std::string_view text) {
    std::string decoded;
    decoded.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '#' && i + 2 < text.size() && HexDigitValue(text[i + 1]) >= 0 &&
            HexDigitValue(text[i + 2]) >= 0) {
            decoded.push_back(
                static_cast<char>(HexDigitValue(text[i + 1]) * 16 + HexDigitValue(text[i + 2])));
            i += 2;
        } else {
            decoded.push_back(text[i]);
        }
    }
    return decoded;
}

// /BaseFont of a TrueType font named without metrics, "/Family,Style": the
// family is the text up to the first comma, the style the text after it.
FontRequest RequestForBaseFont(std::string_view baseFont) {
    if (!baseFont.empty() && baseFont.front() == '/') {
        baseFont.remove_prefix(1);
    }
    const std::size_t comma = baseFont.find(',');
    const std::string_view style =
        comma == std::string_view::npos ? std::string_view() : baseFont.substr(comma + 1);
    FontRequest request;
    request.family = DecodeNameEscapes(baseFont.substr(0, comma));
    request.bold = style == "Bold" || style == "BoldItalic";
    request.italic = style == "Italic" || style == "BoldItalic";
    return request;
}

void SetBaseEncodingByName(std::string_view name, BaseEncoding& encoding) {
    if (name == "/WinAnsiEncoding") {
        encoding = BaseEncoding::WinAnsi;
    } else if (name == "/MacRomanEncoding") {
        encoding = BaseEncoding::MacRoman;
    } else if (name == "/MacExpertEncoding") {
        encoding = BaseEncoding::MacExpert;
    }
    // Any other name (/StandardEncoding, /Identity-H) keeps the encoding.
}

}  // namespace

void PdfFont::Load(const PdfDictionary* fontDict) {
    *this = PdfFont();
    const PdfDictionary& dict = DictionaryOrEmpty(fontDict);
    const std::string subtype = dict.GetValueString("/Subtype");
    const std::string baseFont = dict.GetValueString("/BaseFont");
    standardFontIndex = FindStandardFont(baseFont);

    // A /ToUnicode that isn't a readable stream (a name, a reference to
    // nothing, an unsupported filter) counts as absent: the font is read
    // through its /Encoding instead.
    if (const std::string* toUnicode = GetStreamData(dict.PeekValue("/ToUnicode"))) {
        baseEncoding = BaseEncoding::NoEncoding;
        LoadCMap(toUnicode);
    } else {
        if (standardFontIndex >= 0) {
            baseEncoding = StandardFontTable[standardFontIndex].baseEncoding;
        }
        if (const PdfObject* encoding = ResolveBorrowed(dict.PeekValue("/Encoding"))) {
            LoadEncoding(encoding);
        }
    }

    const bool measured = LoadMetrics(dict, subtype, baseFont);
    LoadWidths(dict, measured);
    UpdateByteTables();
    spaceWidth = FindSpaceWidth();
}

void PdfFont::LoadEncoding(const PdfObject* encoding) {
    if (IsKind(encoding, PdfObjectType::Name)) {
        SetBaseEncodingByName(static_cast<const PdfName*>(encoding)->text, baseEncoding);
    } else if (const std::string* cmap = GetStreamData(encoding)) {
        ReadCMap(*cmap, codeMap);
    } else if (const PdfDictionary* dict = AsDictionary(encoding)) {
        SetBaseEncodingByName(dict->GetValueString("/BaseEncoding"), baseEncoding);
        if (const PdfArray* differences =
                AsArray(ResolveBorrowed(dict->PeekValue("/Differences")))) {
            LoadDifferences(*differences);
        }
    }
    UpdateByteTables();
}

void PdfFont::LoadCMap(const std::string* cmap) {
    if (cmap) {
        ReadCMap(*cmap, codeMap);
    }
    UpdateByteTables();
}

void PdfFont::LoadDifferences(const PdfArray& differences) {
    // Glyph names before the first number have no code to go to and are
    // skipped. A name not in the glyph list maps its code to U+0020.
    std::optional<std::int64_t> code;
    for (std::size_t i = 0; i < differences.GetCount(); ++i) {
        const std::string text = differences.GetElementString(i);
        if (text.empty() || text.front() != '/') {
            code = ParseInteger(text);
        } else if (code) {
            if (*code >= 0 && *code <= kMaxCharCode) {
                codeMap[static_cast<std::uint32_t>(*code)] =
                    LookupGlyphName(std::string_view(text).substr(1));
            }
            ++*code;
        }
    }
}

bool PdfFont::LoadMetrics(const PdfDictionary& fontDict, std::string_view subtype,
                          std::string_view baseFont) {
    // A /FontDescriptor that isn't a dictionary counts as absent.
    if (const PdfDictionary* descriptor =
            AsDictionary(ResolveBorrowed(fontDict.PeekValue("/FontDescriptor")))) {
        missingWidth = ClampWidth(descriptor->GetValueInteger("/MissingWidth"));
        ascent = ClampDistance(descriptor->GetValueInteger("/Ascent"));
        descent = ClampDistance(descriptor->GetValueInteger("/Descent"));
        if (ascent == 0 && descent == 0) {
            // Some producers write both as 0; the font's box still tells how
            // high and deep it reaches, and text of no height would set every
            // line apart from the next by a blank one.
            const PdfArray* box = AsArray(ResolveBorrowed(descriptor->PeekValue("/FontBBox")));
            if (box && box->GetCount() == 4) {
                ascent = ClampDistance(box->GetElementInteger(3));
                descent = ClampDistance(box->GetElementInteger(1));
            }
        }
        return false;
    }
    if (standardFontIndex >= 0) {
        const StandardFont& row = StandardFontTable[standardFontIndex];
        missingWidth = row.defaultWidth;
        ascent = row.ascent;
        descent = row.descent;
        return false;
    }
    if (subtype != "/TrueType") {
        missingWidth = kDefaultCharWidth;
        ascent = kDefaultAscent;
        descent = kDefaultDescent;
        return false;
    }
    // A TrueType font named without metrics: measure the installed family.
    const FontMetrics metrics = GetFontMeasurer().Measure(RequestForBaseFont(baseFont));
    firstChar = 0;
    widths.assign(metrics.widths.begin(), metrics.widths.end());
    ascent = metrics.ascent;
    descent = metrics.descent;
    return true;
}

void PdfFont::LoadWidths(const PdfDictionary& fontDict, bool measured) {
    const PdfArray* array = AsArray(ResolveBorrowed(fontDict.PeekValue("/Widths")));
    if (!array) {
        return;
    }
    const auto first = static_cast<std::uint16_t>(fontDict.GetValueInteger("/FirstChar"));
    // Codes are 16 bits: entries past code 0xFFFF could never be reached.
    const std::size_t count = std::min<std::size_t>(array->GetCount(), kCodeSpaceSize - first);
    if (!measured) {
        firstChar = first;
        widths.resize(count);
        for (std::size_t i = 0; i < count; ++i) {
            widths[i] = ClampWidth(array->GetElementInteger(i));
        }
        return;
    }
    // Measured widths cover codes 0 to 255 from firstChar 0: the font's own
    // widths replace them for the codes they cover, and codes between the two
    // that neither covers get the default width.
    widths.resize(std::max<std::size_t>(widths.size(), first + count), kDefaultCharWidth);
    for (std::size_t i = 0; i < count; ++i) {
        widths[first + i] = ClampWidth(array->GetElementInteger(i));
    }
}

std::uint16_t PdfFont::FindSpaceWidth() const {
    for (std::size_t j = 0; j < widths.size(); ++j) {
        if (GetUnicode(firstChar + static_cast<std::uint32_t>(j)) == 0x0020) {
            return widths[j];
        }
    }
    return GetCharWidth(0xFFFF, 0x0020);
}

std::uint16_t PdfFont::LookUpUnicode(std::uint32_t code) const {
    if (!codeMap.empty()) {
        if (auto found = codeMap.find(code); found != codeMap.end()) {
            return static_cast<std::uint16_t>(found->second);
        }
    }
    if (baseEncoding != BaseEncoding::NoEncoding) {
        return GetBaseEncodingUnicode(baseEncoding, code);
    }
    // Without a base encoding a byte reads as the Latin-1 character of the same number.
    return static_cast<std::uint16_t>(code);
}

std::uint16_t PdfFont::ComputeCharWidth(std::uint32_t code, std::uint16_t unicode) const {
    const std::size_t code16 = code & 0xFFFF;
    if (code16 >= firstChar && code16 - firstChar < widths.size()) {
        return widths[code16 - firstChar];
    }
    if (standardFontIndex >= 0) {
        const StandardFont& row = StandardFontTable[standardFontIndex];
        if (row.metrics.empty()) {
            // Courier, Symbol and ZapfDingbats: a descriptor's 0 stays 0.
            return missingWidth;
        }
        if (std::optional<std::uint16_t> width = LookupCharWidth(row.metrics, unicode)) {
            return *width;
        }
    }
    return missingWidth != 0 ? missingWidth : kDefaultCharWidth;
}

void PdfFont::UpdateByteTables() {
    for (std::uint32_t code = 0; code < byteUnicode.size(); ++code) {
        byteUnicode[code] = LookUpUnicode(code);
        byteWidth[code] = ComputeCharWidth(code, byteUnicode[code]);
    }
}

}  // namespace tessary
