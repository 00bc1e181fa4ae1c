#include "fonts/PdfFont.h"

#include <algorithm>

#include "fonts/CMapReader.h"
#include "fonts/CompositeFont.h"
#include "fonts/SimpleFont.h"

namespace tessary {

namespace {

// Ascent and descent are distances from the baseline: some fonts write their
// /Descent as a positive number (and the odd one its /Ascent as a negative
// one), so the magnitude is taken rather than letting the sign wrap into a
// depth of many ems.
std::uint16_t ClampDistance(std::int32_t value) {
    const std::int64_t magnitude = value < 0 ? -static_cast<std::int64_t>(value) : value;
    return static_cast<std::uint16_t>(std::min<std::int64_t>(magnitude, 0xFFFF));
}

}  // namespace

std::uint16_t ClampWidth(std::int32_t value) {
    return static_cast<std::uint16_t>(std::clamp<std::int32_t>(value, 0, 0xFFFF));
}

std::string_view GetStreamBytes(const PdfStream* stream) {
    const std::string* data = stream ? stream->GetData() : nullptr;
    return data ? std::string_view(*data) : std::string_view();
}

bool PdfFont::NextMultiByteCode(std::string_view bytes, std::size_t& position,
                                std::uint32_t& code) const {
    const std::size_t left = bytes.size() - position;
    const char* start = bytes.data() + position;
    // Shortest ranges first: the first length at which the bytes read so far
    // make a code of some range decides (ISO 32000-1, 9.7.6.2). Bytes at the
    // end that only begin a code are too few for one.
    std::size_t length = 0;
    for (const CodespaceRange& range : codespace) {
        if (range.length > left && range.Matches(start, left)) {
            position = bytes.size();
            return false;
        }
        if (range.length <= left && range.Matches(start, range.length)) {
            length = range.length;
            break;
        }
    }
    if (length == 0) {
        // Bytes that no range holds make a code of the shortest length, which
        // selects no character (ISO 32000-1, 9.7.6.3).
        length = codespace.front().length;
        if (length > left) {
            position = bytes.size();
            return false;
        }
    }
    code = GetByteStringValue(bytes.substr(position, length));
    position += length;
    return true;
}

void PdfFont::SetCodespace(std::vector<CodespaceRange> ranges) {
    std::stable_sort(
        ranges.begin(), ranges.end(),
        [](const CodespaceRange& a, const CodespaceRange& b) { return a.length < b.length; });
    CodespaceRange everyTwoByteCode;
    everyTwoByteCode.length = 2;
    everyTwoByteCode.high = {0xFF, 0xFF};
    allTwoByteCodes = ranges.size() == 1 && ranges[0] == everyTwoByteCode;
    codespace = std::move(ranges);
}

void PdfFont::LoadDescriptorMetrics(const PdfDictionary& descriptor) {
    ascent = ClampDistance(descriptor.GetValueInteger("/Ascent"));
    descent = ClampDistance(descriptor.GetValueInteger("/Descent"));
    if (ascent == 0 && descent == 0) {
        // Some producers write both as 0; the font's box still tells how
        // high and deep it reaches, and text of no height would set every
        // line apart from the next by a blank one.
        const PdfArray* box = AsArray(ResolveBorrowed(descriptor.PeekValue("/FontBBox")));
        if (box && box->GetCount() == 4) {
            ascent = ClampDistance(box->GetElementInteger(3));
            descent = ClampDistance(box->GetElementInteger(1));
        }
    }
}

std::unique_ptr<PdfFont> LoadFont(const PdfDictionary* fontDict) {
    const PdfDictionary& dict = DictionaryOrEmpty(fontDict);
    if (dict.GetValueString("/Subtype") == "/Type0") {
        return std::make_unique<CompositeFont>(dict);
    }
    return std::make_unique<SimpleFont>(dict);
}

}  // namespace tessary
