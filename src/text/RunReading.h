// How the lines of a run with gutters are read: side by side as the layout
// renders them (a table), as columns one after another, or row by row with
// each row's cells one after another.
//
// Columns are read apart only when every one of them that holds text is
// prose: two lines or more, half of them of four words or more filling 60%
// of the column, wrapped (a line ends where the next line's first word would
// not have fitted), starting at the column's left edge and, but for the last
// column, reaching towards the gutter. Anything else (a table of short cells,
// a list beside its bullets or terms, code beside its comments) stays side by
// side, its rows on shared baselines as the layout renders them.
//
// A column's block ends where the baseline distance exceeds 1.25 times the
// run's line spacing (a paragraph's space, cell padding).
// The run is cut into rows where white space crosses it and every column's
// block ends at once. A grid is a stretch of rows with no block end inside a
// cell and no two justified columns, two of them with text in two columns:
// its rows of prose cells are read cell by cell, when two rows are. The
// other rows, together, are read as columns; rows of one line per column
// before them (a running head beside its page number) flow.
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
