#include "app/DialogUnits.h"

#include <QFontMetrics>
#include <QLabel>

namespace tessary {

QFont DialogFont() {
    QFont font("Arial");
    font.setPointSize(9);
    return font;
}

DialogUnits::DialogUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    // The average width of the Latin letters, rounded, as Windows computes
    // the base unit of a dialog font.
    const QString letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    baseX = (metrics.horizontalAdvance(letters) / 26 + 1) / 2;
    baseY = metrics.height();
    if (baseX <= 0)
        baseX = 1;
    if (baseY <= 0)
        baseY = 1;
}

// Rounded as Windows' MulDiv rounds.
int DialogUnits::ToPixelsX(int units) const {
    return (units * baseX * 2 + 4) / 8;
}
int DialogUnits::ToPixelsY(int units) const {
    return (units * baseY * 2 + 8) / 16;
}

QRect DialogUnits::ToPixels(int x, int y, int width, int height) const {
    return QRect(ToPixelsX(x), ToPixelsY(y), ToPixelsX(width), ToPixelsY(height));
}

QSize DialogUnits::ToPixels(int width, int height) const {
    return QSize(ToPixelsX(width), ToPixelsY(height));
}

void CentreLabelOn(QLabel& label, const QWidget& box) {
    label.setGeometry(label.x(), box.y(), label.width(), box.height());
    label.setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

}  // namespace tessary
