// Where the characters of a shown string land. The string's text rendering
// matrix (ISO 32000 9.4.4: font size and horizontal scaling, rise, the text
// matrix, the current transformation matrix) decides its direction, and so the
// frame it is read in; each character is placed in that frame's lines with its
// extent along the line, its height and the width of a space, in the units of
// the page's default space.
#pragma once

#include <cmath>
#include <string_view>

#include "text/GraphicsState.h"
#include "text/Matrix.h"
#include "text/TextFrameList.h"
#include "text/TextLimits.h"

namespace tessary {

class PdfFont;

class StringPlacement {
  public:
    // Sets the placement up for a string shown in the font with the state as
    // it stands. Strings shown one after the other mostly share all of that
    // (the strings of one "TJ"): then nothing is worked out again.
    void Prepare(const GraphicsState& state, const PdfFont& font, TextFrameList& frames);
    // Says that the state may have changed since the last Prepare; until
    // then Prepare (the strings of one "TJ") doesn't even compare it.
    void Unsettle() { settled = false; }

    // Places a character that runs from x0 to x1 on the current text line
    // (offsets in the text matrix's space, as the state's textX) into the line
    // of the string's previous character, or the line of its own baseline
    // when line is absent. Returns the line that took it; absent when the
    // layout refused it or the string's matrix places nothing.
    // Called for every character: defined here so that it inlines.
    TextLine* Add(TextLine* line, double x0, double x1, std::string_view text) {
        if (!frame) {
            return nullptr;
        }
        const Point start = textToFrame.Apply({x0, inputs.lineY});
        const Point end = textToFrame.Apply({x1, inputs.lineY});
        if (!InBounds(start.x) || !InBounds(start.y) || !InBounds(end.x)) {
            return nullptr;
        }
        line = frame->GetLines().AddItem(line, start.y, start.x, end.x, start.y + ascent,
                                         start.y - descent, spaceWidth, text);
        if (line) {
            frame->CountCharacter();
        }
        return line;
    }

    static bool InBounds(double value) { return std::fabs(value) <= kMaxCoordinate; }

  private:
    // What the placement is worked out from.
    struct Inputs {
        Matrix textMatrix;
        Matrix ctm;
        double fontSize = 0.0;
        double horizontalScale = 0.0;
        double lineY = 0.0;  // the text line's y offset, rise included
        const PdfFont* font = nullptr;
        const TextFrameList* frames = nullptr;
        bool operator==(const Inputs&) const = default;
    };
    void WorkOut(const GraphicsState& state, const PdfFont& font, TextFrameList& frames);

    Inputs inputs;
    bool prepared = false;
    bool settled = false;
    TextFrame* frame = nullptr;  // absent: singular, not finite or out of bounds
    Matrix textToFrame;
    double ascent = 0.0;
    double descent = 0.0;
    double spaceWidth = 0.0;
};

}  // namespace tessary
