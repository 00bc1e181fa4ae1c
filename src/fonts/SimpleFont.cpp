#include "fonts/SimpleFont.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

#include "fonts/CMapReader.h"
#include "fonts/FontLimits.h"
#include "fonts/FontProgram.h"
#include "fonts/GlyphList.h"
#include "fonts/StandardFontTable.h"
#include "platform/FontMeasurer.h"

namespace tessary {

namespace {

// The /Flags bit of a font descriptor that marks a symbolic font (ISO
// 32000-1, Table 123).
constexpr std::int32_t kSymbolicFlag = 4;

// A width or distance in glyph space brought to thousandths of text space:
// nothing below 0, the largest beyond 16 bits.
std::uint16_t ClampScaled(double value) {
    return value > 0 ? static_cast<std::uint16_t>(std::lround(std::min(value, 65535.0))) : 0;
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

std::optional<BaseEncoding> FindBaseEncoding(std::string_view name) {
    if (name == "/WinAnsiEncoding") {
        return BaseEncoding::WinAnsi;
    }
    if (name == "/MacRomanEncoding") {
        return BaseEncoding::MacRoman;
    }
    if (name == "/MacExpertEncoding") {
        return BaseEncoding::MacExpert;
    }
    if (name == "/StandardEncoding") {
        return BaseEncoding::Standard;
    }
    return std::nullopt;
}

void SetBaseEncodingByName(std::string_view name, BaseEncoding& encoding) {
    // /StandardEncoding, like any other name (/Identity-H), keeps the encoding.
    std::optional<BaseEncoding> named = FindBaseEncoding(name);
    if (named && *named != BaseEncoding::Standard) {
        encoding = *named;
    }
}

// Whether the font program's own encoding decides the codes that /Encoding
// doesn't: when /Encoding names no base encoding, itself or in its
// dictionary's /BaseEncoding (ISO 32000-1, 9.6.6.1). A CMap given as
// /Encoding answers for itself.
bool LeavesCodesToTheProgram(const PdfObject* encoding) {
    if (IsKind(encoding, PdfObjectType::Name)) {
        return !FindBaseEncoding(static_cast<const PdfName*>(encoding)->text);
    }
    if (const PdfDictionary* dict = AsDictionary(encoding)) {
        return !FindBaseEncoding(dict->GetValueString("/BaseEncoding"));
    }
    return !AsReadableStream(encoding);
}

}  // namespace

SimpleFont::SimpleFont(const PdfDictionary& dict) {
    const std::string subtype = dict.GetValueString("/Subtype");
    const std::string baseFont = dict.GetValueString("/BaseFont");
    standardFontIndex = FindStandardFont(baseFont);

    // A /ToUnicode that isn't a readable stream (a name, a reference to
    // nothing, an unsupported filter) counts as absent: the font is read
    // through its /Encoding instead.
    if (const PdfStream* toUnicode =
            AsReadableStream(ResolveBorrowed(dict.PeekValue("/ToUnicode")))) {
        codeMap = ReadCMap(GetStreamBytes(toUnicode), kMaxCharCode).unicode;
    } else {
        if (standardFontIndex >= 0) {
            baseEncoding = StandardFontTable[standardFontIndex].baseEncoding;
        }
        const PdfObject* encoding = ResolveBorrowed(dict.PeekValue("/Encoding"));
        if (LeavesCodesToTheProgram(encoding)) {
            LoadBuiltInEncoding(dict);
        }
        LoadEncoding(encoding);
    }

    const bool measured = LoadMetrics(dict, subtype, baseFont);
    LoadWidths(dict, measured);
    if (subtype == "/Type3") {
        LoadType3Metrics(dict);
    }
    UpdateByteTables();
    spaceWidth = FindSpaceWidth();
    DropByteCodes();
}

void SimpleFont::LoadEncoding(const PdfObject* encoding) {
    if (IsKind(encoding, PdfObjectType::Name)) {
        SetBaseEncodingByName(static_cast<const PdfName*>(encoding)->text, baseEncoding);
    } else if (const PdfStream* stream = AsReadableStream(encoding)) {
        for (auto& [code, text] : ReadCMap(GetStreamBytes(stream), kMaxCharCode).unicode) {
            codeMap[code] = std::move(text);
        }
    } else if (const PdfDictionary* dict = AsDictionary(encoding)) {
        SetBaseEncodingByName(dict->GetValueString("/BaseEncoding"), baseEncoding);
        if (const PdfArray* differences =
                AsArray(ResolveBorrowed(dict->PeekValue("/Differences")))) {
            LoadDifferences(*differences);
        }
    }
    // Any other kind (an array, a number) is ignored.
}

void SimpleFont::LoadDifferences(const PdfArray& differences) {
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
                    std::u32string(1, LookupGlyphName(std::string_view(text).substr(1)));
            }
            ++*code;
        }
    }
}

void SimpleFont::LoadBuiltInEncoding(const PdfDictionary& fontDict) {
    const PdfDictionary* descriptor =
        AsDictionary(ResolveBorrowed(fontDict.PeekValue("/FontDescriptor")));
    if (!descriptor) {
        return;
    }
    // A TrueType program's character maps say something of the codes only
    // in a symbolic font; Type 1 and CFF programs carry an encoding.
    const bool symbolic = (descriptor->GetValueInteger("/Flags") & kSymbolicFlag) != 0;
    // The program is decoded for this reading only: once its encoding is
    // taken, nothing needs its bytes again.
    std::string buffer;
    const std::string* program = nullptr;
    for (const char* key : {"/FontFile", "/FontFile3", "/FontFile2"}) {
        if (!program && (symbolic || key != std::string_view("/FontFile2"))) {
            program = ReadStreamData(descriptor->PeekValue(key), buffer);
        }
    }
    if (!program) {
        return;
    }
    const BuiltInEncoding names = ReadBuiltInEncoding(*program, symbolic);
    for (std::uint32_t code = 0; code < names.size(); ++code) {
        if (std::u32string text = GlyphNameToText(names[code]); !text.empty()) {
            codeMap[code] = std::move(text);
        }
    }
}

bool SimpleFont::LoadMetrics(const PdfDictionary& fontDict, std::string_view subtype,
                             std::string_view baseFont) {
    // A /FontDescriptor that isn't a dictionary counts as absent.
    if (const PdfDictionary* descriptor =
            AsDictionary(ResolveBorrowed(fontDict.PeekValue("/FontDescriptor")))) {
        missingWidth = ClampWidth(descriptor->GetValueInteger("/MissingWidth"));
        LoadDescriptorMetrics(*descriptor);
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

void SimpleFont::LoadWidths(const PdfDictionary& fontDict, bool measured) {
    const PdfArray* array = AsArray(ResolveBorrowed(fontDict.PeekValue("/Widths")));
    if (!array) {
        return;
    }
    const auto first = static_cast<std::uint16_t>(fontDict.GetValueInteger("/FirstChar"));
    // Entries past code 0xFFFF could never be reached.
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

void SimpleFont::LoadType3Metrics(const PdfDictionary& fontDict) {
    // A Type 3 font's widths and descriptor metrics are in its glyph space,
    // which its /FontMatrix maps to text space (ISO 32000 9.6.5), where other
    // fonts' glyph space is a thousandth of text space. A matrix that is the
    // usual one, or no array of six finite numbers, leaves them as they are.
    const PdfArray* matrix = AsArray(ResolveBorrowed(fontDict.PeekValue("/FontMatrix")));
    if (!matrix || matrix->GetCount() != 6) {
        return;
    }
    const double across = matrix->GetElementReal(0) * 1000;
    const double up = std::fabs(matrix->GetElementReal(3)) * 1000;
    if (!std::isfinite(across) || !std::isfinite(up) || (across == 1 && up == 1)) {
        return;
    }
    if (const PdfArray* array = AsArray(ResolveBorrowed(fontDict.PeekValue("/Widths")))) {
        for (std::size_t i = 0; i < widths.size(); ++i) {
            widths[i] = ClampScaled(array->GetElementReal(i) * across);
        }
    }
    // Without a descriptor the defaults, which are in text space already, stay.
    const PdfDictionary* descriptor =
        AsDictionary(ResolveBorrowed(fontDict.PeekValue("/FontDescriptor")));
    if (!descriptor) {
        return;
    }
    missingWidth = ClampScaled(descriptor->GetValueReal("/MissingWidth") * across);
    double high = std::fabs(descriptor->GetValueReal("/Ascent"));
    double deep = std::fabs(descriptor->GetValueReal("/Descent"));
    const PdfArray* box = AsArray(ResolveBorrowed(descriptor->PeekValue("/FontBBox")));
    if (high == 0 && deep == 0 && box && box->GetCount() == 4) {
        high = std::fabs(box->GetElementReal(3));
        deep = std::fabs(box->GetElementReal(1));
    }
    ascent = ClampScaled(high * up);
    descent = ClampScaled(deep * up);
}

std::uint16_t SimpleFont::FindSpaceWidth() const {
    for (std::size_t j = 0; j < widths.size(); ++j) {
        const std::uint32_t code = firstChar + static_cast<std::uint32_t>(j);
        const auto found = codeMap.find(code);
        if (found != codeMap.end() ? found->second == U" " : LookUpUnicode(code) == U' ') {
            return widths[j];
        }
    }
    return ComputeWidth(0xFFFF, U' ');
}

char32_t SimpleFont::LookUpUnicode(std::uint32_t code) const {
    if (!codeMap.empty()) {
        if (auto found = codeMap.find(code); found != codeMap.end()) {
            return found->second.empty() ? 0 : found->second.back();
        }
    }
    if (baseEncoding != BaseEncoding::NoEncoding) {
        return GetBaseEncodingUnicode(baseEncoding, code);
    }
    // Without a base encoding a byte reads as the Latin-1 character of the same number.
    return code;
}

std::uint16_t SimpleFont::ComputeWidth(std::uint32_t code, char32_t unicode) const {
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
        if (unicode <= 0xFFFF) {
            if (std::optional<std::uint16_t> width =
                    LookupCharWidth(row.metrics, static_cast<std::uint16_t>(unicode))) {
                return *width;
            }
        }
    }
    return missingWidth != 0 ? missingWidth : kDefaultCharWidth;
}

void SimpleFont::UpdateByteTables() {
    textPool.reserve(kByteCodes);
    for (std::uint32_t code = 0; code < kByteCodes; ++code) {
        textStart[code] = static_cast<std::uint32_t>(textPool.size());
        if (auto found = codeMap.find(code); found != codeMap.end()) {
            textPool += found->second;
        } else if (const char32_t unicode = LookUpUnicode(code); unicode != 0) {
            textPool += unicode;
        }
        byteWidth[code] = ComputeWidth(code, LookUpUnicode(code));
    }
    textStart[kByteCodes] = static_cast<std::uint32_t>(textPool.size());
    textPool.shrink_to_fit();
}

void SimpleFont::DropByteCodes() {
    CodeMap above;
    for (auto& [code, text] : codeMap) {
        if (code >= kByteCodes) {
            above.emplace(code, std::move(text));
        }
    }
    codeMap = std::move(above);
}

}  // namespace tessary
