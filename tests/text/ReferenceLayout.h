// A slow, literal layout: plain lists scanned from the start, every item of a
// line against every item of the line above. The tests, the benchmark and the
// fuzz target compare the real layout with it; its output is the definition.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tessary::reference {

struct Item {
    std::string text;
    double xStart, xEnd, spaceWidth, yTop, yBottom;
};

struct Line {
    explicit Line(double b) : baseline(b) {}
    double Height() const { return top - bottom; }

    double baseline;
    double top = -100000.0;
    double bottom = 100000.0;
    std::vector<Item> items;
};

struct LineList {
    Line* AddItem(Line* currentLine, double baseline, double xStart, double xEnd, double yTop,
                  double yBottom, double spaceWidth, std::string_view text);
    void LayOutLines(std::vector<std::string>& output, int width);

    std::vector<std::unique_ptr<Line>> lines;
};

}  // namespace tessary::reference
