// The text of one page while it is collected and when it is laid out into
// lines of a given width in characters.
//
// Text showing calls AddItem once for every character it shows; after the
// whole content has run, LayOutLines turns the lines into page text: one byte
// string per output line, top to bottom, an empty string for a blank line and
// every other line ending with one space, with no line ends added.
#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "text/TextLine.h"

namespace tessary {

// The stretch of x that the layout maps onto the width: from the leftmost
// start to the rightmost end of the lines' text. It starts at minX 1000000 and
// maxX 0 and only widens, so text lying entirely at negative x is scaled from
// its leftmost start up to x = 0.
struct LayoutScale {
    double minX = 1000000.0;
    double maxX = 0.0;
    void Include(const TextExtent& extent);
};

class TextLineList {
  public:
    // Stores one shown character and returns the line that received it, or
    // nullptr when it was refused: a text of exactly one space (spaces are
    // regenerated from gaps, never copied) or a number that is not finite.
    // currentLine is what the previous call returned for the same string
    // operand, nullptr for its first character: a given line receives the
    // item whatever its baseline; otherwise the item goes to the line with
    // exactly this baseline, created when there is none. The returned line
    // stays valid until LayOutLines runs.
    TextLine* AddItem(TextLine* currentLine, double baseline, double xStart, double xEnd,
                      double yTop, double yBottom, double spaceWidth, std::string_view text);

    // Lays the page out for width columns and appends its lines to output
    // (which it doesn't clear). Runs once per page: it joins items and lines
    // and trims texts in place.
    void LayOutLines(std::vector<std::string>& output, int width);
    std::vector<std::string> LayOutLines(int width);
    // The same on a given scale instead of the lines' own (a block of a page
    // laid out on the scale of the region that holds it).
    void LayOutLines(std::vector<std::string>& output, int width, const LayoutScale& scale);

    // The scale LayOutLines uses: the text extents of all lines.
    LayoutScale MeasureScale() const;

    bool IsEmpty() const { return lines_.empty(); }
    std::size_t GetLineCount() const { return lines_.size(); }
    // The lines, highest baseline first.
    std::vector<const TextLine*> GetLines() const;

  private:
    // Keyed by baseline, highest first. Baselines are finite, so the order is
    // total and "exactly equal" is key equality (0.0 and -0.0 included).
    std::map<double, TextLine, std::greater<double>> lines_;
};

}  // namespace tessary
