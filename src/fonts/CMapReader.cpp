#include "fonts/CMapReader.h"

#include <algorithm>

#include "fonts/FontLimits.h"
#include "fonts/GlyphList.h"
#include "pdf/PdfParser.h"

namespace tessary {

namespace {

bool IsHighSurrogate(char32_t unit) {
    return unit >= 0xD800 && unit < 0xDC00;
}

bool IsLowSurrogate(char32_t unit) {
    return unit >= 0xDC00 && unit < 0xE000;
}

// A keyword scanner over the object reader, not a PostScript interpreter: the
// counts written before the begin keywords are never read, and a section runs
// until its first source that is not a string.
class CMapReader {
  public:
    CMapReader(std::string_view data, std::uint32_t largestCode) : maxCode(largestCode) {
        parser.AttachBuffer(nullptr, data);
    }

    CMap Read() {
        std::string text;
        std::string name;  // the object just read, when it is a name
        while (!ended) {
            const PdfObjectType kind = Next(text);
            if (kind == PdfObjectType::Name) {
                name = text;
                continue;
            }
            if (kind != PdfObjectType::Keyword) {
                name.clear();
                continue;
            }
            if (text == "begincodespacerange") {
                ReadCodespaceRanges();
            } else if (text == "begincidchar") {
                ReadCidMappings(false);
            } else if (text == "begincidrange") {
                ReadCidMappings(true);
            } else if (text == "beginbfchar") {
                ReadCharMappings();
            } else if (text == "beginbfrange") {
                ReadRangeMappings();
            } else if (text == "usecmap") {
                cmap.useCMap = name;
            }
            name.clear();
        }
        cmap.cids.Freeze();
        return std::move(cmap);
    }

  private:
    // The kind and text of the next object. The end of the data and a syntax
    // failure both end the reading.
    PdfObjectType Next(std::string& text) {
        const PdfObjectType kind = parser.ReadTypedToken(text);
        if (kind == PdfObjectType::EndOfData) {
            ended = true;
        }
        return kind;
    }

    void ReadCodespaceRanges() {
        std::string low;
        std::string high;
        while (Next(low) == PdfObjectType::String) {
            if (Next(high) != PdfObjectType::String) {
                return;
            }
            // Bounds of unequal or impossible lengths describe no code.
            if (low.size() != high.size() || low.empty() || low.size() > kMaxCodeBytes ||
                cmap.codespace.size() == kMaxCodespaceRanges) {
                continue;
            }
            CodespaceRange range;
            range.length = low.size();
            std::copy(low.begin(), low.end(), range.low.begin());
            std::copy(high.begin(), high.end(), range.high.begin());
            cmap.codespace.push_back(range);
        }
    }

    // cidchar: source and CID; cidrange: low, high and the first CID.
    void ReadCidMappings(bool ranges) {
        std::string low;
        std::string high;
        std::string cid;
        while (Next(low) == PdfObjectType::String) {
            if (ranges && Next(high) != PdfObjectType::String) {
                return;
            }
            if (Next(cid) != PdfObjectType::Number || !Count(1, 0)) {
                return;
            }
            const std::int32_t first = ParseInteger(cid);
            if (first >= 0) {
                cmap.cids.Add(GetByteStringValue(low), GetByteStringValue(ranges ? high : low),
                              static_cast<std::uint32_t>(first));
            }
        }
    }

    void ReadCharMappings() {
        std::string source;
        std::string destination;
        while (Next(source) == PdfObjectType::String) {
            const PdfObjectType kind = Next(destination);
            if (kind == PdfObjectType::EndOfData) {
                return;
            }
            if (!Map(GetByteStringValue(source), DestinationText(kind, destination, 0))) {
                return;
            }
        }
    }

    void ReadRangeMappings() {
        std::string lowText;
        std::string highText;
        while (Next(lowText) == PdfObjectType::String) {
            if (Next(highText) == PdfObjectType::EndOfData) {
                return;
            }
            ObjectHandle destination = parser.ReadObject(0, 0);
            if (!destination || destination->type == PdfObjectType::EndOfData) {
                ended = true;
                return;
            }
            if (!MapRange(GetByteStringValue(lowText), GetByteStringValue(highText),
                          destination.get())) {
                return;
            }
        }
    }

    // The text of a destination: a string's UTF-16 characters, a name's
    // glyph, nothing for any other kind.
    static std::u32string DestinationText(PdfObjectType kind, std::string_view text,
                                          std::uint32_t offset) {
        if (kind == PdfObjectType::String) {
            return DecodeUtf16(text.substr(0, kMaxDestinationBytes), offset);
        }
        if (kind == PdfObjectType::Name && offset == 0) {
            return std::u32string(1, LookupGlyphName(text.substr(1)));
        }
        return {};
    }

    // Maps low..high, up to maxCode. The loop ends at its last code without
    // wrapping, and long ranges end at the mapping bound.
    bool MapRange(std::uint32_t low, std::uint32_t high, const PdfObject* destination) {
        const PdfArray* values = AsArray(destination);
        const auto* text = dynamic_cast<const PdfTextObject*>(destination);
        high = std::min(high, maxCode);
        for (std::uint32_t code = low; code <= high; ++code) {
            const std::uint32_t offset = code - low;
            std::u32string value;
            if (values) {
                // Elements beyond the array's end give no text.
                const PdfObject* element = ResolveBorrowed(values->PeekElement(offset));
                if (const auto* string = dynamic_cast<const PdfTextObject*>(element)) {
                    value = DestinationText(element->type, string->text, 0);
                }
            } else if (text) {
                value = DestinationText(text->type, text->text, offset);
            }
            if (!Map(code, std::move(value))) {
                return false;
            }
            if (code == high) {
                break;
            }
        }
        return true;
    }

    // false once the CMap has made all the mappings it may.
    bool Map(std::uint32_t code, std::u32string text) {
        if (code > maxCode) {
            return true;
        }
        if (!Count(1, text.size())) {
            return false;
        }
        cmap.unicode[code] = std::move(text);
        return true;
    }

    bool Count(std::uint32_t newMappings, std::size_t newCharacters) {
        if (mappings + newMappings > kMaxCMapMappings ||
            characters + newCharacters > kMaxCMapCharacters) {
            ended = true;
            return false;
        }
        mappings += newMappings;
        characters += newCharacters;
        return true;
    }

    PdfParser parser;
    const std::uint32_t maxCode;
    CMap cmap;
    std::uint32_t mappings = 0;
    std::size_t characters = 0;
    bool ended = false;
};

}  // namespace

std::uint32_t GetByteStringValue(std::string_view bytes) {
    std::uint32_t value = 0;
    for (char byte : bytes) {
        value = (value << 8) | static_cast<unsigned char>(byte);
    }
    return value;
}

std::u32string DecodeUtf16(std::string_view bytes, std::uint32_t offset) {
    std::u32string units;
    units.reserve((bytes.size() + 1) / 2);
    std::size_t i = bytes.size() % 2;
    if (i == 1) {
        units.push_back(static_cast<unsigned char>(bytes[0]));
    }
    for (; i < bytes.size(); i += 2) {
        units.push_back(static_cast<char32_t>(static_cast<unsigned char>(bytes[i]) << 8 |
                                              static_cast<unsigned char>(bytes[i + 1])));
    }
    if (units.empty()) {
        return units;
    }
    units.back() = (units.back() + offset) & 0xFFFF;
    std::u32string text;
    text.reserve(units.size());
    for (std::size_t j = 0; j < units.size(); ++j) {
        if (IsHighSurrogate(units[j]) && j + 1 < units.size() && IsLowSurrogate(units[j + 1])) {
            text.push_back(0x10000 + ((units[j] - 0xD800) << 10) + (units[j + 1] - 0xDC00));
            ++j;
        } else {
            text.push_back(units[j]);
        }
    }
    return text;
}

CMap ReadCMap(std::string_view data, std::uint32_t maxCode) {
    return CMapReader(data, maxCode).Read();
}

}  // namespace tessary
