// Stretches of a region's lines that share vertical gaps: the gutters
// between columns, or between the cells of a table.
#pragma once

#include <cstddef>
#include <vector>

#include "text/SegmentedLines.h"

namespace tessary {

struct Span {
    double lo = 0.0;
    double hi = 0.0;
};

struct ColumnRun {
    std::size_t begin = 0;  // region lines [begin, end)
    std::size_t end = 0;
    // Left to right, each with text on both sides and free in every line of
    // the run. None: the lines flow as one block.
    std::vector<Span> gutters;
};

// A line of more separate pieces of text than this belongs to no run, and a
// run ends before the gaps common to its lines grow beyond this many: a
// column layout has a few. It keeps finding runs linear in the page's text.
inline constexpr std::size_t kMaxGaps = 64;

// A line at the start or end of a run that stands alone in a column of its
// own (a page number set in the gutter) is given back to the flow, this many
// times at most: each try measures the run again.
inline constexpr int kMaxRunTrims = 4;

// The region's lines, top to bottom, cut into runs. A run grows while its
// lines leave a common vertical gap at least one space wide (the median
// space width of the region); a line that would close every gutter the run
// has, or whose own gaps the run has covered already, starts a new run. A
// run whose gutters leave a column with fewer than three lines flows.
std::vector<ColumnRun> FindColumnRuns(const SegmentedLines& page, const Region& region);

// The run's lines split at its gutters: one region per column, left to right.
std::vector<Region> SplitAtGutters(const SegmentedLines& page, const Region& region,
                                   const ColumnRun& run);

}  // namespace tessary
