#include "text/RunReading.h"

#include <algorithm>

namespace tessary {

namespace {

// A block ends where lines are further apart than this many times the run's
// line spacing: a paragraph's space, the padding between table cells. Without
// a line spacing, where the layout puts a blank line: this many line heights.
constexpr double kPaddedPitch = 1.25;
constexpr double kBlankLineGap = 1.5;
// A line of running text has this many words and fills this much of its column.
constexpr std::size_t kProseWords = 4;
constexpr double kProseFill = 0.6;
// Room for the next line's first word: its width and this many spaces.
constexpr double kWrapSlack = 1.5;
// A table among columns has this many lines in each of its columns at least
// (fewer: a heading beside the first lines of the next column).
constexpr std::ptrdiff_t kTableLines = 3;
// A footer below columns has this many lines at most.
constexpr std::size_t kFooterLines = 2;
// Fewer lines than this say nothing of justification.
constexpr std::ptrdiff_t kJustifiedLines = 3;
// A line starts (or ends) at its column's edge when it lies within this many
// line heights of it.
constexpr double kFlush = 0.5;

// A run line's text in one column.
struct PartLine {
    PartLine(std::size_t line, double base, const TextSegment& box)
        : at(line),
          baseline(base),
          left(box.left),
          right(box.right),
          height(box.top - box.bottom),
          firstWord(box.firstWordEnd - box.extent.start),
          spaceWidth(box.spaceWidth),
          words(box.words) {}

    std::size_t at;  // run line, counted from the run's first
    double baseline;
    double left;
    double right;
    double height;
    double firstWord;   // width of its first word
    double spaceWidth;  // of its first segment
    std::size_t words;
    bool endsBlock = false;  // a block ends between this line and the column's next
};

using PartLines = std::vector<PartLine>;

// One column's lines in a stretch of run lines, and their extent.
struct Cell {
    std::size_t part = 0;
    PartLines::const_iterator first, last;
    double left = 0.0;
    double right = 0.0;
    std::ptrdiff_t Size() const { return last - first; }
};
using Cells = std::vector<Cell>;

class RunReader {
  public:
    RunReader(const SegmentedLines& page, const Region& region, const ColumnRun& run,
              const std::vector<Region>& parts);
    std::vector<RunReading> Read();

  private:
    void FindBlockEnds();
    void FindRows();
    // The columns with text in run lines [from, to), in the time their lines
    // take, whatever the number of columns.
    Cells CellsIn(std::size_t from, std::size_t to) const;

    // Three lines or more, three quarters of them of four words or more
    // that end at the column's right edge.
    static bool IsJustified(const Cell& cell);
    // Two lines or more, half of them of four words or more that fill most
    // of the column, and wrapped: most lines followed by one of their block
    // end where the next line's first word would not have fitted.
    static bool IsProse(const Cell& cell);
    // Two columns or more, all of them prose.
    static bool AreProse(const Cells& cells);
    // Every column but the first starts most of its lines at its left edge,
    // every column but the last fills most of its lines up to the gutter:
    // columns of text and cells do, chance gaps between words don't.
    bool AreAligned(const Cells& cells) const;
    // Three lines or more in every column, two columns or more, not prose.
    static bool IsTable(const Cells& cells);
    // No block ends between two lines of one column, and not two justified
    // columns (slices of an article's columns).
    static bool IsGridRow(const Cells& cells);
    static std::ptrdiff_t CountLines(const Cells& cells);

    const ColumnRun& run_;
    std::size_t count_;  // lines in the run
    std::vector<PartLines> parts_;
    std::vector<double> baselines_;
    std::vector<double> tops_;
    std::vector<double> bottoms_;
    // Per run line, its lines in the columns: (column, index in it).
    std::vector<std::size_t> entryStarts_;
    std::vector<std::pair<std::size_t, std::size_t>> entries_;
    // Where rows of blocks start, the run's end last.
    std::vector<std::size_t> rowStarts_;
    // Scratch for CellsIn: the cell of each column in the current call.
    mutable std::vector<std::size_t> slot_;
    mutable std::vector<std::size_t> stamp_;
    mutable std::size_t calls_ = 0;
};

RunReader::RunReader(const SegmentedLines& page, const Region& region, const ColumnRun& run,
                     const std::vector<Region>& parts)
    : run_(run), count_(run.end - run.begin) {
    baselines_.resize(count_);
    tops_.resize(count_);
    bottoms_.resize(count_);
    for (std::size_t t = 0; t < count_; ++t) {
        const RegionLine& line = region[run.begin + t];
        TextSegment box = page.Measure(line);
        baselines_[t] = page.GetBaseline(line);
        tops_[t] = box.top;
        bottoms_[t] = box.bottom;
    }
    std::vector<std::size_t> entryCounts(count_ + 1, 0);
    auto runBegin = region.begin() + static_cast<std::ptrdiff_t>(run.begin);
    auto runEnd = region.begin() + static_cast<std::ptrdiff_t>(run.end);
    for (const Region& part : parts) {
        PartLines& lines = parts_.emplace_back();
        auto at = runBegin;
        for (const RegionLine& line : part) {
            at = std::lower_bound(at, runEnd, line.line,
                                  [](const RegionLine& l, std::size_t n) { return l.line < n; });
            std::size_t t = static_cast<std::size_t>(at - runBegin);
            lines.emplace_back(t, page.GetBaseline(line), page.Measure(line));
            ++entryCounts[t + 1];
        }
    }
    entryStarts_.assign(count_ + 1, 0);
    for (std::size_t t = 0; t < count_; ++t) {
        entryStarts_[t + 1] = entryStarts_[t] + entryCounts[t + 1];
    }
    entries_.resize(entryStarts_[count_]);
    std::vector<std::size_t> filled(entryStarts_.begin(), entryStarts_.end() - 1);
    for (std::size_t p = 0; p < parts_.size(); ++p) {
        for (std::size_t i = 0; i < parts_[p].size(); ++i) {
            entries_[filled[parts_[p][i].at]++] = {p, i};
        }
    }
    slot_.assign(parts_.size(), 0);
    stamp_.assign(parts_.size(), 0);
    FindBlockEnds();
    FindRows();
}

Cells RunReader::CellsIn(std::size_t from, std::size_t to) const {
    ++calls_;
    Cells cells;
    for (std::size_t e = entryStarts_[from]; e < entryStarts_[to]; ++e) {
        auto [p, i] = entries_[e];
        const PartLines& part = parts_[p];
        if (stamp_[p] != calls_) {
            stamp_[p] = calls_;
            slot_[p] = cells.size();
            cells.push_back(Cell{p, part.begin() + static_cast<std::ptrdiff_t>(i),
                                 part.begin() + static_cast<std::ptrdiff_t>(i) + 1, part[i].left,
                                 part[i].right});
            continue;
        }
        Cell& cell = cells[slot_[p]];
        cell.last = part.begin() + static_cast<std::ptrdiff_t>(i) + 1;
        cell.left = std::min(cell.left, part[i].left);
        cell.right = std::max(cell.right, part[i].right);
    }
    return cells;
}

void RunReader::FindBlockEnds() {
    // The run's line spacing: the lower quartile of the distances between
    // neighbouring lines of a column, so that a column of sparse lines (the
    // terms beside their descriptions) is measured by the dense ones; widely
    // spaced text has no block end at every line. Fewer than three distances
    // say little.
    double pitch = 0.0;
    std::vector<double> distances;
    for (const PartLines& part : parts_) {
        for (std::size_t i = 0; i + 1 < part.size(); ++i) {
            distances.push_back(part[i].baseline - part[i + 1].baseline);
        }
    }
    if (distances.size() >= 3) {
        auto quartile = distances.begin() + static_cast<std::ptrdiff_t>(distances.size() / 4);
        std::nth_element(distances.begin(), quartile, distances.end());
        pitch = *quartile;
    }
    for (PartLines& part : parts_) {
        for (std::size_t i = 0; i + 1 < part.size(); ++i) {
            PartLine& above = part[i];
            const PartLine& below = part[i + 1];
            double distance = above.baseline - below.baseline;
            above.endsBlock = pitch > 0.0 ? distance > kPaddedPitch * pitch
                                          : distance >= kBlankLineGap * above.height ||
                                                distance >= kBlankLineGap * below.height;
        }
    }
}

void RunReader::FindRows() {
    // open[t] counts the columns in which a block may end between run lines
    // t and t + 1: no line on one side, or a block end between two lines.
    std::vector<long> open(count_ + 1, 0);
    auto addOpen = [&](std::size_t from, std::size_t to) {  // [from, to)
        if (from < to) {
            ++open[from];
            --open[to];
        }
    };
    for (const PartLines& part : parts_) {
        addOpen(0, part.front().at);
        addOpen(part.back().at, count_);
        for (std::size_t i = 0; i + 1 < part.size(); ++i) {
            if (part[i].endsBlock) {
                addOpen(part[i].at, part[i + 1].at);
            }
        }
    }
    // A row ends where every column's block ends and white space runs
    // through the whole run: every line above ends higher than every line
    // below begins.
    std::vector<double> highestBelow(count_, 0.0);
    for (std::size_t t = count_; t-- > 0;) {
        highestBelow[t] = t + 1 == count_ ? tops_[t] : std::max(tops_[t], highestBelow[t + 1]);
    }
    rowStarts_.assign(1, 0);
    long columns = 0;
    double lowestAbove = 0.0;
    for (std::size_t t = 0; t + 1 < count_; ++t) {
        columns += open[t];
        lowestAbove = t == 0 ? bottoms_[t] : std::min(lowestAbove, bottoms_[t]);
        if (columns == static_cast<long>(parts_.size()) && lowestAbove > highestBelow[t + 1]) {
            rowStarts_.push_back(t + 1);
        }
    }
    rowStarts_.push_back(count_);
}

bool RunReader::IsJustified(const Cell& cell) {
    std::ptrdiff_t flush = std::count_if(cell.first, cell.last, [&](const PartLine& l) {
        return l.words >= kProseWords && cell.right - l.right <= kFlush * l.height;
    });
    return cell.Size() >= kJustifiedLines && 4 * flush >= 3 * cell.Size();
}

bool RunReader::IsProse(const Cell& cell) {
    std::ptrdiff_t prose = std::count_if(cell.first, cell.last, [&](const PartLine& l) {
        return l.words >= kProseWords && l.right - l.left >= kProseFill * (cell.right - cell.left);
    });
    // Wrapped text leaves less room at the end of a line than the next
    // line's first word needs; code and lists of short lines don't.
    std::ptrdiff_t breaks = 0;
    std::ptrdiff_t wrapped = 0;
    for (auto l = cell.first; l != cell.last && l + 1 != cell.last; ++l) {
        if (l->endsBlock) {
            continue;
        }
        const PartLine& next = *(l + 1);
        double room = next.firstWord + kWrapSlack * std::max(next.spaceWidth, 0.0);
        ++breaks;
        wrapped += cell.right - l->right < room ? 1 : 0;
    }
    return cell.Size() >= 2 && 2 * prose >= cell.Size() && breaks > 0 && 2 * wrapped >= breaks;
}

bool RunReader::AreProse(const Cells& cells) {
    return cells.size() >= 2 && std::all_of(cells.begin(), cells.end(), IsProse);
}

bool RunReader::AreAligned(const Cells& cells) const {
    return std::all_of(cells.begin(), cells.end(), [&](const Cell& cell) {
        std::ptrdiff_t flush = std::count_if(cell.first, cell.last, [&](const PartLine& l) {
            return cell.part == 0 || l.left - cell.left <= kFlush * l.height;
        });
        std::ptrdiff_t full = std::count_if(cell.first, cell.last, [&](const PartLine& l) {
            return cell.part + 1 == parts_.size() ||
                   l.right - cell.left >= kProseFill * (cell.right - cell.left);
        });
        return 2 * flush >= cell.Size() && 2 * full >= cell.Size();
    });
}

bool RunReader::IsTable(const Cells& cells) {
    return cells.size() >= 2 && !AreProse(cells) &&
           std::all_of(cells.begin(), cells.end(),
                       [](const Cell& cell) { return cell.Size() >= kTableLines; });
}

bool RunReader::IsGridRow(const Cells& cells) {
    bool blockEnd = std::any_of(cells.begin(), cells.end(), [](const Cell& cell) {
        return std::any_of(cell.first, cell.last - 1,
                           [](const PartLine& l) { return l.endsBlock; });
    });
    return !blockEnd && std::count_if(cells.begin(), cells.end(), IsJustified) < 2;
}

std::ptrdiff_t RunReader::CountLines(const Cells& cells) {
    std::ptrdiff_t lines = 0;
    for (const Cell& cell : cells) {
        lines += cell.Size();
    }
    return lines;
}

std::vector<RunReading> RunReader::Read() {
    std::vector<RunReading> readings;
    auto add = [&](RunReading::Kind kind, std::size_t from, std::size_t to) {
        if (from == to) {
            return;
        }
        if (!readings.empty() && readings.back().kind == kind &&
            kind != RunReading::Kind::Columns) {
            readings.back().end = run_.begin + to;
        } else {
            readings.push_back(RunReading{kind, run_.begin + from, run_.begin + to, {}});
        }
        if (kind == RunReading::Kind::Rows) {
            readings.back().rowEnds.push_back(run_.begin + to);
        }
    };
    const std::size_t rows = rowStarts_.size() - 1;
    std::vector<Cells> cells;
    for (std::size_t r = 0; r < rows; ++r) {
        cells.push_back(CellsIn(rowStarts_[r], rowStarts_[r + 1]));
    }
    auto wide = [&](std::size_t r) { return cells[r].size() >= 2; };

    // A grid is a stretch of grid rows, two of them with text in two columns
    // or more; other rows are slices of columns that happen to leave white
    // space across all of them at once. Rows in one column at a grid's edge
    // belong to the columns beside it.
    std::vector<bool> grid(rows, false);
    for (std::size_t r = 0; r < rows;) {
        std::size_t next = r;
        std::size_t wideRows = 0;
        for (; next < rows && IsGridRow(cells[next]); ++next) {
            wideRows += wide(next) ? 1 : 0;
        }
        if (wideRows >= 2) {
            std::size_t first = r;
            std::size_t last = next;
            while (first > 0 && !wide(first)) {
                ++first;
            }
            while (last < rows && !wide(last - 1)) {
                --last;
            }
            std::fill(grid.begin() + static_cast<std::ptrdiff_t>(first),
                      grid.begin() + static_cast<std::ptrdiff_t>(last), true);
        }
        r = std::max(next, r + 1);
    }

    for (std::size_t r = 0; r < rows;) {
        if (grid[r]) {
            // Cells of prose in two columns or more are read one after
            // another, when two rows of the grid hold such cells; other rows
            // (a table's, a list item beside its bullet, a term beside its
            // description) stay side by side.
            std::size_t end = r;
            std::vector<bool> apart;
            for (; end < rows && grid[end]; ++end) {
                apart.push_back(AreProse(cells[end]) && AreAligned(cells[end]));
            }
            bool twoRows = std::count(apart.begin(), apart.end(), true) >= 2;
            for (std::size_t k = r; k < end; ++k) {
                add(twoRows && apart[k - r] ? RunReading::Kind::Rows : RunReading::Kind::SideBySide,
                    rowStarts_[k], rowStarts_[k + 1]);
            }
            r = end;
            continue;
        }
        if (!wide(r) || CountLines(cells[r]) == static_cast<std::ptrdiff_t>(cells[r].size())) {
            // Rows of one line per column before columns (a heading, a
            // running head and its page number) flow.
            add(RunReading::Kind::SideBySide, rowStarts_[r], rowStarts_[r + 1]);
            ++r;
            continue;
        }
        std::size_t next = r;
        while (next < rows && !grid[next]) {
            ++next;
        }
        // A line or two in one column at the end, further below the others
        // than any two lines of a column are apart, is a footer: it flows
        // after the columns. More is the end of the longest column.
        std::size_t footer = next;
        while (footer > r + 1 && !wide(footer - 1) &&
               rowStarts_[next] - rowStarts_[footer - 1] <= kFooterLines) {
            --footer;
        }
        if (footer < next) {
            double widest = 0.0;
            for (const Cell& cell : CellsIn(rowStarts_[r], rowStarts_[footer])) {
                for (auto l = cell.first; l + 1 != cell.last; ++l) {
                    widest = std::max(widest, l->baseline - (l + 1)->baseline);
                }
            }
            std::size_t at = rowStarts_[footer];
            if (!(baselines_[at - 1] - baselines_[at] > widest)) {
                footer = next;
            }
        }
        // Columns when every one of them (two or more) holds prose; anything
        // else (a table, a list beside its bullets or terms, code beside its
        // comments) stays side by side. A row of three lines or more in each
        // column that isn't prose is a table among columns.
        std::size_t from = r;
        for (std::size_t k = r; k <= footer; ++k) {
            if (k < footer && !IsTable(cells[k])) {
                continue;
            }
            if (from < k) {
                Cells stretch = CellsIn(rowStarts_[from], rowStarts_[k]);
                bool columns = AreProse(stretch) && AreAligned(stretch);
                add(columns ? RunReading::Kind::Columns : RunReading::Kind::SideBySide,
                    rowStarts_[from], rowStarts_[k]);
            }
            if (k < footer) {
                add(RunReading::Kind::SideBySide, rowStarts_[k], rowStarts_[k + 1]);
            }
            from = k + 1;
        }
        add(RunReading::Kind::SideBySide, rowStarts_[footer], rowStarts_[next]);
        r = next;
    }
    return readings;
}

}  // namespace

std::vector<RunReading> ReadRun(const SegmentedLines& page, const Region& region,
                                const ColumnRun& run, const std::vector<Region>& parts) {
    return RunReader(page, region, run, parts).Read();
}

}  // namespace tessary
