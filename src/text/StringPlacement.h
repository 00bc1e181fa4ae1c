// Where the characters of one shown string land. The string's text rendering
// matrix (ISO 32000 9.4.4: font size and horizontal scaling, rise, the text
// matrix, the current transformation matrix) decides its direction, and so the
// frame it is read in; each character is placed in that frame's lines with its
// extent along the line, its height and the width of a space, in the units of
// the page's default space.
#pragma once

#include <string_view>

#include "text/GraphicsState.h"
#include "text/Matrix.h"

namespace tessary {

class PdfFont;
class TextFrame;
class TextFrameList;
class TextLine;

class StringPlacement {
  public:
    // For a string shown in the font with the state as it stands.
    StringPlacement(const GraphicsState& state, const PdfFont& font, TextFrameList& frames);

    // Places a character that runs from x0 to x1 on the current text line
    // (offsets in the text matrix's space, as the state's textX) into the line
    // of the string's previous character, or the line of its own baseline
    // when line is absent. Returns the line that took it; absent when the
    // layout refused it or the string's matrix places nothing.
    TextLine* Add(TextLine* line, double x0, double x1, std::string_view text);

  private:
    TextFrame* frame = nullptr;  // absent: singular, not finite or out of bounds
    Matrix textToFrame;
    double lineY = 0.0;  // the text line's y offset, rise included
    double ascent = 0.0;
    double descent = 0.0;
    double spaceWidth = 0.0;
};

}  // namespace tessary
