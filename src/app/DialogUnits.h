// Dialog layouts are given in dialog units of the 9-point dialog font, as on
// Windows: a horizontal unit is a quarter of the font's average character
// width, a vertical unit an eighth of its character height.
#pragma once

#include <QFont>
#include <QRect>

class QLabel;
class QWidget;

namespace tessary {

// The font every dialog of the program uses.
QFont DialogFont();

class DialogUnits {
  public:
    explicit DialogUnits(const QFont& font);

    int ToPixelsX(int units) const;
    int ToPixelsY(int units) const;
    QRect ToPixels(int x, int y, int width, int height) const;
    QSize ToPixels(int width, int height) const;

  private:
    int baseX;  // average character width in pixels
    int baseY;  // character height in pixels
};

// Centres a one-line label vertically on the box it names, as a form layout
// would: the label keeps its x and width and takes the box's y and height,
// and its text stands in the middle of them.
void CentreLabelOn(QLabel& label, const QWidget& box);

}  // namespace tessary
