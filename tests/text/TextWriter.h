// Synthetic pages for the layout tests: strings shown as text showing shows
// them, one item per byte.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "text/TextLineList.h"

namespace tessary::test {

// An identity text matrix, no extra spacing and a font whose letters are 500
// wide, its space 278, ascent 718 and descent 207 (in 1/1000 of the size):
// the space refused but advancing, a string's characters kept on its first
// one's line.
class TextWriter {
  public:
    // Returns the x where the string ends.
    double Show(double x, double y, std::string_view s, double size = 10) {
        const double scale = size * 0.001;
        TextLine* line = nullptr;
        for (char c : s) {
            const double x1 = x + (c == ' ' ? 278 : 500) * scale;
            line = list.AddItem(line, y, x, x1, y + 718 * scale, y - 207 * scale, 278 * scale,
                                std::string(1, c));
            x = x1;
        }
        return x;
    }
    std::vector<std::string> LayOut(int width) { return list.LayOutLines(width); }

    TextLineList list;
};

inline std::string Pad(std::string s, std::size_t column) {
    s.resize(column, ' ');
    return s;
}

}  // namespace tessary::test
