// What text extraction needs from a font: how a shown string splits into
// character codes, the text and the width of each code, and how high and deep
// the font reaches. Simple fonts (one byte per code) and composite fonts
// (Type0, one to four bytes per code) are the two kinds behind it. Filled once
// from a font dictionary and not changed afterwards.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "fonts/CMap.h"
#include "pdf/PdfObject.h"

namespace tessary {

class PdfFont {
  public:
    virtual ~PdfFont() = default;
    PdfFont(const PdfFont&) = delete;
    PdfFont& operator=(const PdfFont&) = delete;

    // The character code that starts at `position` in a shown string, moving
    // position past it; false at the end of the string. This is the one place
    // that splits shown strings into codes: a simple font reads one code per
    // byte, a composite font codes of the lengths its codespace ranges give.
    // Bytes left over that are too few for a code are dropped.
    bool NextCode(std::string_view bytes, std::size_t& position, std::uint32_t& code) const {
        if (position >= bytes.size()) {
            return false;
        }
        if (codespace.empty()) {
            code = static_cast<unsigned char>(bytes[position++]);
            return true;
        }
        if (allTwoByteCodes) {
            if (bytes.size() - position < 2) {
                position = bytes.size();
                return false;
            }
            code = static_cast<unsigned char>(bytes[position]) << 8 |
                   static_cast<unsigned char>(bytes[position + 1]);
            position += 2;
            return true;
        }
        return NextMultiByteCode(bytes, position, code);
    }

    // The text of a code: its characters in order (several for a ligature that
    // a ToUnicode map spells out); empty when the code has none. Valid while
    // the font lives.
    virtual std::u32string_view GetText(std::uint32_t code) const = 0;

    // Width of a code in 1/1000 of text space units.
    virtual std::uint16_t GetWidth(std::uint32_t code) const = 0;

    std::uint16_t spaceWidth = 0;  // width of a space in this font, 1/1000 units
    std::uint16_t ascent = 0;      // above the baseline, 1/1000 units
    std::uint16_t descent = 0;     // below the baseline, positive downwards

  protected:
    PdfFont() = default;

    // Reads /Ascent and /Descent of a font descriptor, or its /FontBBox when
    // both are 0.
    void LoadDescriptorMetrics(const PdfDictionary& descriptor);

    // Codespace ranges of a composite font, shortest first; empty for a
    // simple font. Sets allTwoByteCodes when they hold every two-byte code
    // and nothing else, as Identity-H does.
    void SetCodespace(std::vector<CodespaceRange> ranges);

  private:
    std::vector<CodespaceRange> codespace;
    bool allTwoByteCodes = false;

    bool NextMultiByteCode(std::string_view bytes, std::size_t& position,
                           std::uint32_t& code) const;
};

// The font of a font dictionary (absent reads as empty): a composite font for
// /Subtype /Type0, a simple font for anything else. Never fails: missing or
// malformed entries fall through to defaults.
std::unique_ptr<PdfFont> LoadFont(const PdfDictionary* fontDict);

// The metrics of a font that gives none and isn't a standard font, and the
// width of a simple font's code that nothing else gives a width.
inline constexpr std::uint16_t kDefaultCharWidth = 400;
inline constexpr std::uint16_t kDefaultAscent = 700;
inline constexpr std::uint16_t kDefaultDescent = 200;

// Widths are never negative; one beyond 16 bits is held at the largest.
std::uint16_t ClampWidth(std::int32_t value);

// The decoded bytes of a stream (a font's CMap or program); empty when absent.
std::string_view GetStreamBytes(const PdfStream* stream);

}  // namespace tessary
