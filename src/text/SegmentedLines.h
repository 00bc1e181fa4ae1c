// A page's lines cut into segments: the runs of neighbouring items that the
// layout joins (see JoinAfter), each measured once. Finding columns and
// tables works on segments, since the white space that separates blocks is
// never inside one.
#pragma once

#include <cstddef>
#include <vector>

#include "text/TextLine.h"
#include "text/TextLineList.h"

namespace tessary {

struct TextSegment {
    // The ink: the least and greatest x of its items' starts and ends (an
    // item may end before it starts), the highest yTop and the lowest yBottom.
    double left = 0.0;
    double right = 0.0;
    double top = 0.0;
    double bottom = 0.0;
    double spaceWidth = 0.0;  // the run's space width as joining leaves it
    // What the layout's scale measures: the first item's xStart, the last
    // item's xEnd.
    TextExtent extent;
    double firstWordEnd = 0.0;  // xEnd of the last item before the first space
    std::size_t words = 0;      // one more than the spaces joining puts in
    std::size_t firstItem = 0;
    std::size_t endItem = 0;  // past the last item, in the line's item order
};

struct SegmentedLine {
    const TextLine* line = nullptr;
    double baseline = 0.0;
    std::size_t firstSegment = 0;
    std::size_t endSegment = 0;
};

// Segments [first, end) of one line: a line as a region of the page holds it.
// A region is a list of these in line order (highest baseline first); a
// column holds only the segments of each line that fall into it.
struct RegionLine {
    std::size_t line = 0;
    std::size_t first = 0;
    std::size_t end = 0;
};
using Region = std::vector<RegionLine>;

class SegmentedLines {
  public:
    // The lines stay the list's; they must outlive this object and not be
    // laid out while it is in use.
    explicit SegmentedLines(const TextLineList& lines);

    const std::vector<SegmentedLine>& GetLines() const { return lines_; }
    const std::vector<TextSegment>& GetSegments() const { return segments_; }
    // Every line with all its segments.
    Region GetWholePage() const;

    double GetBaseline(const RegionLine& line) const { return lines_[line.line].baseline; }
    // The ink of a region line's segments, and their words.
    TextSegment Measure(const RegionLine& line) const;
    // The scale the layout would measure on the region on its own.
    LayoutScale MeasureScale(const Region& region) const;

  private:
    std::vector<SegmentedLine> lines_;
    std::vector<TextSegment> segments_;
};

}  // namespace tessary
