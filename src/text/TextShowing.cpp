// The show-text operators: every character of a shown string becomes one text
// item at its place on the page, and the text position advances past it.
#include <cstdint>

#include "fonts/PdfFont.h"
#include "fonts/TextConversion.h"
#include "pdf/PdfObject.h"
#include "text/PageTextExtractor.h"
#include "text/StringPlacement.h"

namespace tessary {

namespace {

// A fill colour whose components add up to more than this counts as white:
// text drawn in it is not output.
constexpr double kWhiteColourSum = 2.85;

}  // namespace

void PageTextExtractor::HandleShowText(std::string_view op) {
    if (op == "Tj") {
        ShowString(GetOperandString(0));
    } else if (op == "TJ") {
        // Strings are shown, numbers move the position back by thousandths of
        // the font size (horizontally scaled). An operand that isn't an array
        // does nothing.
        const PdfArray* elements = AsArray(GetOperand(0));
        if (!elements) {
            return;
        }
        // Elements are read in place: the operand stack owns them.
        for (std::size_t i = 0; i < elements->GetCount(); ++i) {
            const PdfObject* element = ResolveBorrowed(elements->PeekElement(i));
            if (IsKind(element, PdfObjectType::String)) {
                ShowString(static_cast<const PdfString*>(element)->text);
            } else {
                state.textX -=
                    GetRealValue(element) * state.fontSize * 0.001 * state.horizontalScale;
            }
        }
    } else if (op == "'") {
        MoveToNextLine();
        ShowString(GetOperandString(0));
    } else if (op == "\"") {
        state.wordSpacing = GetOperandNumber(2);
        state.charSpacing = GetOperandNumber(1);
        MoveToNextLine();
        ShowString(GetOperandString(0));
    }
}

const std::string& PageTextExtractor::ConvertCharacter(char32_t c) {
    // A page shows few distinct characters many times over: most are found
    // here instead of being encoded again.
    ConvertedCharacter& slot = convertedCharacters[c % convertedCharacters.size()];
    if (!slot.filled || slot.character != c) {
        slot.text = ConvertToText(c, codePage, "?");
        slot.character = c;
        slot.filled = true;
    }
    return slot.text;
}

void PageTextExtractor::ShowString(std::string_view bytes) {
    const PdfFont* font = state.currentFont;
    if (!font) {
        return;
    }
    const double scale = state.fontSize * 0.001;
    placement.Prepare(state, *font, frames);
    const bool white =
        state.fillColour[0] + state.fillColour[1] + state.fillColour[2] > kWhiteColourSum;

    double x = state.textX;
    TextLine* line = nullptr;
    std::size_t position = 0;
    std::uint32_t code = 0;
    for (std::size_t codeStart = 0; font->NextCode(bytes, position, code); codeStart = position) {
        const double width = font->GetWidth(code);
        const double x0 = x;
        const double x1 = x + width * scale * state.horizontalScale;
        // Most codes show one character: its text is used as converted.
        std::string_view text;
        std::string joined;
        const std::u32string_view characters = font->GetText(code);
        if (white) {
            text = " ";
        } else if (characters.size() == 1) {
            text = characters[0] != 0 ? std::string_view(ConvertCharacter(characters[0])) : "";
        } else {
            for (char32_t c : characters) {
                if (c != 0) {  // U+0000 adds no characters
                    joined += ConvertCharacter(c);
                }
            }
            text = joined;
        }
        double spacing = state.charSpacing;
        // Word spacing applies to the single-byte code 32 alone, whatever it
        // shows and in whatever font (ISO 32000-1, 9.3.3).
        if (code == 32 && position - codeStart == 1) {
            spacing += state.wordSpacing;
        }
        line = placement.Add(line, x0, x1, text);
        x = x1 + spacing * state.horizontalScale;
    }
    state.textX = x;
}

}  // namespace tessary
