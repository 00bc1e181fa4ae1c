// What text extraction needs from a simple font: the Unicode character of each
// code, the width of each code, and how high and deep the font reaches. Filled
// once from a font dictionary; the glyph programs are never read.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "fonts/BaseEncoding.h"
#include "fonts/CMapReader.h"
#include "pdf/PdfObject.h"

namespace tessary {

class PdfFont {
  public:
    // A font with no encoding, no widths and no metrics.
    PdfFont() { UpdateByteTables(); }

    // Fills the font from its dictionary (absent reads as empty); never fails:
    // missing or malformed entries fall through to defaults.
    void Load(const PdfDictionary* fontDict);

    // Reads the resolved value of /Encoding: a base encoding name, a CMap
    // stream, or a dictionary with /BaseEncoding and /Differences. Any other
    // kind is ignored.
    void LoadEncoding(const PdfObject* encoding);

    // Adds the mappings of a CMap stream's decoded bytes (absent: none) to codeMap.
    void LoadCMap(const std::string* cmap);

    // The character code that starts at `position` in a shown string, moving
    // position past it; false at the end of the string. This is the one place
    // that splits shown strings into codes: a simple font reads one code per
    // byte.
    bool NextCode(std::string_view bytes, std::size_t& position, std::uint32_t& code) const {
        if (position >= bytes.size()) {
            return false;
        }
        code = static_cast<unsigned char>(bytes[position++]);
        return true;
    }

    // The Unicode character of a code: codeMap first, then the base encoding
    // (0 where it has no glyph, and for codes above 255); without a base
    // encoding the code itself, as Latin-1.
    std::uint16_t GetUnicode(std::uint32_t code) const {
        return code < byteUnicode.size() ? byteUnicode[code] : LookUpUnicode(code);
    }

    // Width of a code (taken as 16 bits) in 1/1000 of text space units;
    // unicode is the code's GetUnicode value, which only the built-in metrics
    // of the standard fonts use.
    std::uint16_t GetCharWidth(std::uint32_t code, std::uint16_t unicode) const {
        if (code < byteUnicode.size() && byteUnicode[code] == unicode) {
            return byteWidth[code];
        }
        return ComputeCharWidth(code, unicode);
    }

    // The font's data, filled by the Load functions and not changed afterwards
    // (the lookups above read tables derived from it at the end of each Load
    // function).
    std::int32_t standardFontIndex = -1;  // row of StandardFontTable, or -1
    BaseEncoding baseEncoding = BaseEncoding::NoEncoding;
    CodeMap codeMap;              // codes up to kMaxCharCode
    std::uint16_t firstChar = 0;  // code of widths[0]
    std::vector<std::uint16_t> widths;
    std::uint16_t missingWidth = 0;
    std::uint16_t spaceWidth = 0;  // width of the code that decodes to U+0020
    std::uint16_t ascent = 0;      // above the baseline, 1/1000 units
    std::uint16_t descent = 0;     // below the baseline, positive downwards

  private:
    void LoadDifferences(const PdfArray& differences);
    // true when the widths were measured from an installed font.
    bool LoadMetrics(const PdfDictionary& fontDict, std::string_view subtype,
                     std::string_view baseFont);
    void LoadWidths(const PdfDictionary& fontDict, bool measured);
    std::uint16_t FindSpaceWidth() const;
    std::uint16_t LookUpUnicode(std::uint32_t code) const;
    std::uint16_t ComputeCharWidth(std::uint32_t code, std::uint16_t unicode) const;
    // Rebuilds the tables of the one-byte codes from the fields above.
    void UpdateByteTables();

    std::array<std::uint16_t, 256> byteUnicode{};
    std::array<std::uint16_t, 256> byteWidth{};  // width of each byte with its byteUnicode
};

}  // namespace tessary
