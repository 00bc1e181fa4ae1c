// A composite (Type0) font: its /Encoding CMap splits shown strings into codes
// of one to four bytes and selects a CID for each; the descendant CIDFont
// gives the widths by CID; the text of a code comes from /ToUnicode, else from
// the character collection's table by CID.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "fonts/CMap.h"
#include "fonts/CidWidths.h"
#include "fonts/CodeTextTable.h"
#include "fonts/PdfFont.h"

namespace tessary {

class CompositeFont final : public PdfFont {
  public:
    explicit CompositeFont(const PdfDictionary& fontDict);

    std::u32string_view GetText(std::uint32_t code) const override;
    std::uint16_t GetWidth(std::uint32_t code) const override {
        if (std::optional<std::size_t> entry = toUnicode.Find(code)) {
            return mappedWidths[*entry];
        }
        return widths.Get(GetCid(code));
    }

  private:
    // CID 0, the missing glyph, for a code the CMap doesn't map.
    std::uint32_t GetCid(std::uint32_t code) const {
        return cmap ? cmap->cids.Find(code).value_or(0) : 0;
    }
    void LoadDescendant(const PdfDictionary& descendant);
    std::uint16_t FindSpaceWidth() const;

    std::shared_ptr<const CMap> cmap;  // the /Encoding CMap; absent when unknown
    CidWidths widths;
    CodeTextTable toUnicode;  // empty when /ToUnicode is absent or maps nothing
    // The width of each code of toUnicode, the codes shown in practice, found
    // with its text rather than through the CMap and /W.
    std::vector<std::uint16_t> mappedWidths;
    std::shared_ptr<const std::vector<char32_t>> collection;  // characters by CID
};

}  // namespace tessary
