// A simple font (Type1, TrueType, Type3, MMType1): one byte per code, the
// text of each code from its ToUnicode map or its encoding, widths from
// /FirstChar and /Widths, built-in metrics or an installed font.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fonts/BaseEncoding.h"
#include "fonts/PdfFont.h"

namespace tessary {

class SimpleFont final : public PdfFont {
  public:
    explicit SimpleFont(const PdfDictionary& fontDict);

    std::u32string_view GetText(std::uint32_t code) const override {
        return code < kByteCodes ? std::u32string_view(textPool).substr(
                                       textStart[code], textStart[code + 1] - textStart[code])
                                 : std::u32string_view();
    }
    std::uint16_t GetWidth(std::uint32_t code) const override {
        return code < kByteCodes ? byteWidth[code] : ComputeWidth(code, LookUpUnicode(code));
    }

  private:
    static constexpr std::uint32_t kByteCodes = 256;

    void LoadEncoding(const PdfObject* encoding);
    void LoadDifferences(const PdfArray& differences);
    // Fills the codes that the embedded program's own encoding names.
    void LoadBuiltInEncoding(const PdfDictionary& fontDict);
    // true when the widths were measured from an installed font.
    bool LoadMetrics(const PdfDictionary& fontDict, std::string_view subtype,
                     std::string_view baseFont);
    void LoadWidths(const PdfDictionary& fontDict, bool measured);
    void LoadType3Metrics(const PdfDictionary& fontDict);
    std::uint16_t FindSpaceWidth() const;
    // The one character that stands for a code where a single one is wanted
    // (the built-in metrics, the space): the last of its text, 0 for none.
    char32_t LookUpUnicode(std::uint32_t code) const;
    std::uint16_t ComputeWidth(std::uint32_t code, char32_t unicode) const;
    void UpdateByteTables();
    // Once the byte tables hold codes 0 to 255, codeMap keeps only the codes
    // above them.
    void DropByteCodes();

    std::int32_t standardFontIndex = -1;  // row of StandardFontTable, or -1
    BaseEncoding baseEncoding = BaseEncoding::NoEncoding;
    CodeMap codeMap;              // ToUnicode, /Differences, built-in encoding
    std::uint16_t firstChar = 0;  // code of widths[0]
    std::vector<std::uint16_t> widths;
    std::uint16_t missingWidth = 0;

    // Derived tables of the 256 codes, all a font keeps of them once built (a
    // document may use hundreds of fonts): the texts of the codes one after
    // another, where each code's text starts in it, and the widths.
    std::u32string textPool;
    std::array<std::uint32_t, kByteCodes + 1> textStart{};
    std::array<std::uint16_t, kByteCodes> byteWidth{};
};

}  // namespace tessary
