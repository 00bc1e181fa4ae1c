#include "fonts/CMapReader.h"

#include <algorithm>
#include <string>

#include "fonts/FontLimits.h"
#include "pdf/PdfParser.h"

namespace tessary {

namespace {

// A keyword scanner over the object reader, not a PostScript interpreter: the
// counts written before the begin keywords are never read, and a section runs
// until its first source that is not a string.
class CMapReader {
  public:
    CMapReader(std::string_view data, CodeMap& map) : codeMap(map) {
        parser.AttachBuffer(nullptr, data);
    }

    void Read() {
        std::string text;
        while (!ended) {
            if (Next(text) != PdfObjectType::Keyword) {
                continue;
            }
            if (text == "begincodespacerange") {
                ReadCodespaceRanges();
            } else if (text == "beginbfchar") {
                ReadCharMappings();
            } else if (text == "beginbfrange") {
                ReadRangeMappings();
            }
        }
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
            Next(high);
        }
    }

    void ReadCharMappings() {
        std::string source;
        std::string destination;
        while (Next(source) == PdfObjectType::String) {
            // Any kind of destination gives its text.
            if (Next(destination) == PdfObjectType::EndOfData) {
                return;
            }
            if (!Map(GetByteStringValue(source), GetByteStringValue(destination))) {
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
            const std::uint32_t low = GetByteStringValue(lowText);
            const std::uint32_t high = GetByteStringValue(highText);
            if (!MapRange(low, high, destination.get())) {
                return;
            }
        }
    }

    // Maps low..high; codes above kMaxCharCode are never looked up and are
    // skipped, so the loop ends at the last kept code and can't wrap.
    bool MapRange(std::uint32_t low, std::uint32_t high, const PdfObject* destination) {
        if (low > high || low > kMaxCharCode) {
            return true;
        }
        const std::uint32_t last = std::min(high, kMaxCharCode);
        const PdfArray* values = AsArray(destination);
        // The values run on over the whole number, across byte boundaries.
        const std::uint32_t first = values ? 0 : GetByteStringValue(GetStringValue(destination));
        for (std::uint32_t code = low; code <= last; ++code) {
            const std::uint32_t value =
                values ? GetByteStringValue(values->GetElementString(code - low))
                       : first + (code - low);
            if (!Map(code, value)) {
                return false;
            }
        }
        return true;
    }

    // false once the CMap has made all the mappings it may.
    bool Map(std::uint32_t code, std::uint32_t value) {
        if (code > kMaxCharCode) {
            return true;
        }
        if (mappings == kMaxCMapMappings) {
            ended = true;
            return false;
        }
        ++mappings;
        codeMap[code] = value;
        return true;
    }

    PdfParser parser;
    CodeMap& codeMap;
    std::uint32_t mappings = 0;
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

void ReadCMap(std::string_view data, CodeMap& codeMap) {
    CMapReader(data, codeMap).Read();
}

}  // namespace tessary
