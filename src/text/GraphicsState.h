// The state that "q" saves and "Q" restores while content runs: the parts of
// the graphics state that placing text reads (ISO 32000 8.4: the current
// transformation matrix, the text state parameters of 9.3, the fill colour),
// and the text object's matrix and positions, which are saved with them so that
// a "Q" inside a text object puts the text position back as well.
#pragma once

#include <array>
#include <string>

#include "text/Matrix.h"

namespace tessary {

class PdfFont;

struct GraphicsState {
    Matrix ctm;  // user space to the page's default space

    // Text state parameters, in unscaled text space units.
    double charSpacing = 0.0;
    double wordSpacing = 0.0;
    double horizontalScale = 1.0;  // "Tz" divided by 100
    double leading = 0.0;
    std::string fontName;
    double fontSize = 0.0;  // no font is in use before the first "Tf"
    const PdfFont* currentFont = nullptr;
    int renderMode = 0;  // recorded: invisible text (mode 3) is text all the same
    double rise = 0.0;

    // The text object: the matrix set by "BT" or "Tm", and offsets in its space
    // of the current position and of the start of the current line.
    Matrix textMatrix;
    double textX = 0.0;
    double textY = 0.0;
    double lineX = 0.0;
    double lineY = 0.0;

    int colourSpaceKind = 1;  // 0 other, 1 RGB, 2 gray, 3 CMYK
    std::array<double, 3> fillColour{0, 0, 0};
};

}  // namespace tessary
