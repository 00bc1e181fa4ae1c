// How the lines of a run with gutters are read: as a table whose rows stay
// side by side, as columns one after another, or row by row, each row's
// cells one after another.
//
// The rule, per column of the run: a block ends where the layout would put a
// blank line (a baseline distance of 1.5 line heights) or where the distance
// exceeds 1.25 times the column's median line distance (cell padding). The
// run is cut into rows where every column's block ends at once. A row is a
// table, kept side by side, when at least two thirds of its lines share a
// baseline with a line of another column and its columns are not all running
// text (at least two lines, half of them three words or more that fill 60% of
// the column). Consecutive other rows are read as a grid (row by row) when
// at least two thirds of their columns' block ends are row ends, and as
// columns otherwise.
#pragma once

#include <cstddef>
#include <vector>

#include "text/ColumnRuns.h"
#include "text/SegmentedLines.h"

namespace tessary {

struct RunReading {
    enum class Kind {
        SideBySide,  // lines as the layout renders them
        Columns,     // each column whole, left to right
        Rows,        // row by row, each row's cells left to right
    };
    Kind kind = Kind::SideBySide;
    std::size_t begin = 0;  // region lines [begin, end)
    std::size_t end = 0;
    std::vector<std::size_t> rowEnds;  // Rows: where each row ends; the last is `end`
};

// The readings of the run's lines, top to bottom; `parts` are the run's
// columns as SplitAtGutters gives them.
std::vector<RunReading> ReadRun(const SegmentedLines& page, const Region& region,
                                const ColumnRun& run, const std::vector<Region>& parts);

}  // namespace tessary
