// A page's lines as a reader sees them, cut into segments: the runs of
// neighbouring items that the layout joins (see JoinAfter), each measured
// once. Finding columns and tables works on segments, since the white space
// that separates blocks is never inside one.
//
// A line is one baseline's items together with those of the baselines set
// just off it beside its text (a superscript, a subscript, characters placed
// a hair apart): the layout joins them into one line in the end, and a column
// should not see them as lines of their own.
#pragma once

#include <cstddef>
#include <vector>

#include "text/TextLine.h"
#include "text/TextLineList.h"

namespace tessary {

// Lines set off a line's baseline are looked for among this many lines above
// each line: superscripts and subscripts lie next to theirs, and it keeps the
// grouping linear.
inline constexpr std::size_t kMaxSatelliteDistance = 64;

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
    std::size_t firstItem = 0;  // in GetItems()
    std::size_t endItem = 0;
};

// An item of the page with the baseline of the line that holds it.
struct PlacedItem {
    const TextItem* item = nullptr;
    double baseline = 0.0;
};

struct SegmentedLine {
    double baseline = 0.0;  // of its main line, the one with the most items
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
    // Every line's items in ascending xStart, line after line.
    const std::vector<PlacedItem>& GetItems() const { return items_; }
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
    std::vector<PlacedItem> items_;
};

}  // namespace tessary
