// A slow, literal layout: plain ordered lists scanned from the start, every
// item of a line against every item of the line above. The tests and the
// benchmark compare the real layout with it; its output is the definition.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tessary::reference {

struct Item {
    std::string text;
    double xStart;
    double xEnd;
    double spaceWidth;
    double yTop;
    double yBottom;
};

struct Line {
    explicit Line(double b) : baseline(b) {}

    double baseline;
    double top = -100000.0;
    double bottom = 100000.0;
    std::vector<Item> items;

    double Height() const { return top - bottom; }
    void InsertItem(double xStart, double xEnd, double yTop, double yBottom, double spaceWidth,
                    std::string_view text);
    bool GetTextExtent(double& start, double& end) const;
    void JoinItems();
    bool CanJoin(const Line& above) const;
    void Absorb(const Line& other);
    std::string RenderLine(double minX, double range, int width);
};

class LineList {
  public:
    Line* AddItem(Line* currentLine, double baseline, double xStart, double xEnd, double yTop,
                  double yBottom, double spaceWidth, std::string_view text);
    void LayOutLines(std::vector<std::string>& output, int width);

    std::vector<std::unique_ptr<Line>> lines;
};

}  // namespace tessary::reference
