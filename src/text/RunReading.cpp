#include "text/RunReading.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace tessary {

namespace {

// A baseline distance this many line heights apart is where the layout puts a
// blank line, and a block ends.
constexpr double kBlankLineGap = 1.5;
// A distance this many times the run's line spacing also ends a block: the
// padding between table cells is often less than a blank line.
constexpr double kPaddedPitch = 1.25;
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

struct PartLine {
    std::size_t at = 0;  // run line, counted from the run's first
    double baseline = 0.0;
    TextSegment box;
};

using PartLines = std::vector<PartLine>;

// The lines of a part that lie in run lines [from, to).
std::pair<PartLines::const_iterator, PartLines::const_iterator> LinesIn(const PartLines& part,
                                                                        std::size_t from,
                                                                        std::size_t to) {
    auto before = [](const PartLine& l, std::size_t t) { return l.at < t; };
    auto first = std::lower_bound(part.begin(), part.end(), from, before);
    return {first, std::lower_bound(first, part.end(), to, before)};
}

class RunReader {
  public:
    RunReader(const SegmentedLines& page, const Region& region, const ColumnRun& run,
              const std::vector<Region>& parts);
    std::vector<RunReading> Read();

  private:
    bool EndsBlock(const PartLines& part, std::size_t i, double pitch) const;
    void FindCuts();

    // The tests below look at run lines [from, to).
    // Three lines or more, three quarters of them of four words or more
    // that end at the column's right edge.
    bool IsJustified(std::size_t p, std::size_t from, std::size_t to) const;
    // Columns of prose: two lines or more, half of them of four words or
    // more that fill most of the column, and wrapped: most lines followed by
    // one of their block end where the next line's first word would not have
    // fitted.
    std::size_t CountProseColumns(std::size_t from, std::size_t to) const;
    // Two columns or more hold text, and all of them prose.
    bool IsProse(std::size_t from, std::size_t to) const;
    std::size_t CountColumnsWithText(std::size_t from, std::size_t to) const;
    // Lines of all columns together.
    std::size_t CountLines(std::size_t from, std::size_t to) const;
    // Every column but the first starts most of its lines at its left edge,
    // every column but the last fills most of its lines up to the gutter:
    // columns of text and cells do, chance gaps between words don't.
    bool IsAligned(std::size_t from, std::size_t to) const;
    // Three lines or more in every column that holds text, two columns or
    // more, not prose.
    bool IsTableRow(std::size_t from, std::size_t to) const;
    // Run line `at` lies further below the line above it than any two
    // neighbouring lines of a column in [from, at) are apart.
    bool IsFarBelow(std::size_t from, std::size_t at) const;
    // A row of a grid: no block ends between two lines of one column, and
    // not two justified columns (slices of an article's columns).
    bool IsGridRow(std::size_t from, std::size_t to) const;

    const ColumnRun& run_;
    std::size_t count_;  // lines in the run
    std::vector<PartLines> parts_;
    // Per part, whether a block ends after each of its lines.
    std::vector<std::vector<bool>> blockEnds_;
    std::vector<double> baselines_;
    std::vector<double> tops_;
    std::vector<double> bottoms_;
    // cutsBefore_[t]: rows that end before run line t (a row end after t - 1
    // and earlier).
    std::vector<std::size_t> cutsBefore_;
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
    auto runBegin = region.begin() + static_cast<std::ptrdiff_t>(run.begin);
    auto runEnd = region.begin() + static_cast<std::ptrdiff_t>(run.end);
    for (std::size_t p = 0; p < parts.size(); ++p) {
        PartLines& lines = parts_.emplace_back();
        auto at = runBegin;
        for (const RegionLine& line : parts[p]) {
            at = std::lower_bound(at, runEnd, line.line,
                                  [](const RegionLine& l, std::size_t n) { return l.line < n; });
            std::size_t t = static_cast<std::size_t>(at - runBegin);
            lines.push_back(PartLine{t, page.GetBaseline(line), page.Measure(line)});
        }
    }
    FindCuts();
}

bool RunReader::EndsBlock(const PartLines& part, std::size_t i, double pitch) const {
    const PartLine& above = part[i];
    const PartLine& below = part[i + 1];
    double distance = above.baseline - below.baseline;
    return distance >= kBlankLineGap * (above.box.top - above.box.bottom) ||
           distance >= kBlankLineGap * (below.box.top - below.box.bottom) ||
           (pitch > 0.0 && distance > kPaddedPitch * pitch);
}

void RunReader::FindCuts() {
    // open[t] counts the columns in which a block may end between run lines
    // t and t + 1: no line on one side, or a block end between two lines.
    std::vector<long> open(count_ + 1, 0);
    auto addOpen = [&](std::size_t from, std::size_t to) {  // [from, to)
        if (from < to) {
            ++open[from];
            --open[to];
        }
    };
    // The run's line spacing: the lower quartile of the distances between
    // neighbouring lines of a column, so that a column of sparse lines (the
    // terms beside their descriptions) is measured by the dense ones. With
    // fewer than three distances it says little.
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
    for (const PartLines& part : parts_) {
        std::vector<bool>& ends = blockEnds_.emplace_back(part.size(), false);
        addOpen(0, part.front().at);
        addOpen(part.back().at, count_);
        for (std::size_t i = 0; i + 1 < part.size(); ++i) {
            if (EndsBlock(part, i, pitch)) {
                ends[i] = true;
                addOpen(part[i].at, part[i + 1].at);
            }
        }
    }
    // A row ends where, besides, white space runs through the whole run:
    // every line above ends higher than every line below begins.
    std::vector<double> highestBelow(count_ + 1, 0.0);
    for (std::size_t t = count_; t-- > 0;) {
        highestBelow[t] = t + 1 == count_ ? tops_[t] : std::max(tops_[t], highestBelow[t + 1]);
    }
    cutsBefore_.assign(count_ + 1, 0);
    long columns = 0;
    double lowestAbove = 0.0;
    for (std::size_t t = 0; t < count_; ++t) {
        columns += open[t];
        lowestAbove = t == 0 ? bottoms_[t] : std::min(lowestAbove, bottoms_[t]);
        bool cut = t + 1 < count_ && columns == static_cast<long>(parts_.size()) &&
                   lowestAbove > highestBelow[t + 1];
        cutsBefore_[t + 1] = cutsBefore_[t] + (cut ? 1 : 0);
    }
}

bool RunReader::IsJustified(std::size_t p, std::size_t from, std::size_t to) const {
    auto [first, last] = LinesIn(parts_[p], from, to);
    std::ptrdiff_t lines = last - first;
    if (lines < kJustifiedLines) {
        return false;
    }
    double right = first->box.right;
    for (auto l = first; l != last; ++l) {
        right = std::max(right, l->box.right);
    }
    std::ptrdiff_t flush = std::count_if(first, last, [&](const PartLine& l) {
        return l.box.words >= kProseWords &&
               right - l.box.right <= kFlush * (l.box.top - l.box.bottom);
    });
    return 4 * flush >= 3 * lines;
}

std::size_t RunReader::CountProseColumns(std::size_t from, std::size_t to) const {
    std::size_t columns = 0;
    for (std::size_t p = 0; p < parts_.size(); ++p) {
        auto [first, last] = LinesIn(parts_[p], from, to);
        if (last - first < 2) {
            continue;
        }
        double left = first->box.left;
        double right = first->box.right;
        for (auto l = first; l != last; ++l) {
            left = std::min(left, l->box.left);
            right = std::max(right, l->box.right);
        }
        std::ptrdiff_t prose = std::count_if(first, last, [&](const PartLine& l) {
            return l.box.words >= kProseWords &&
                   l.box.right - l.box.left >= kProseFill * (right - left);
        });
        // Wrapped text leaves less room at the end of a line than the next
        // line's first word needs; code and lists of short lines don't.
        std::ptrdiff_t breaks = 0;
        std::ptrdiff_t wrapped = 0;
        for (auto l = first; l + 1 != last; ++l) {
            if (blockEnds_[p][static_cast<std::size_t>(l - parts_[p].begin())]) {
                continue;
            }
            const TextSegment& next = (l + 1)->box;
            double word = next.firstWordEnd - next.extent.start;
            ++breaks;
            wrapped += right - l->box.right < word + kWrapSlack * std::max(next.spaceWidth, 0.0)
                           ? 1
                           : 0;
        }
        if (2 * prose >= last - first && breaks > 0 && 2 * wrapped >= breaks) {
            ++columns;
        }
    }
    return columns;
}

bool RunReader::IsProse(std::size_t from, std::size_t to) const {
    std::size_t prose = CountProseColumns(from, to);
    return prose >= 2 && prose == CountColumnsWithText(from, to);
}

std::size_t RunReader::CountColumnsWithText(std::size_t from, std::size_t to) const {
    return static_cast<std::size_t>(
        std::count_if(parts_.begin(), parts_.end(), [&](const PartLines& part) {
            auto [first, last] = LinesIn(part, from, to);
            return first != last;
        }));
}

std::size_t RunReader::CountLines(std::size_t from, std::size_t to) const {
    std::size_t lines = 0;
    for (const PartLines& part : parts_) {
        auto [first, last] = LinesIn(part, from, to);
        lines += static_cast<std::size_t>(last - first);
    }
    return lines;
}

bool RunReader::IsAligned(std::size_t from, std::size_t to) const {
    for (std::size_t p = 0; p < parts_.size(); ++p) {
        auto [first, last] = LinesIn(parts_[p], from, to);
        if (first == last) {
            continue;
        }
        double left = first->box.left;
        double right = first->box.right;
        for (auto l = first; l != last; ++l) {
            left = std::min(left, l->box.left);
            right = std::max(right, l->box.right);
        }
        std::ptrdiff_t flush = std::count_if(first, last, [&](const PartLine& l) {
            return p == 0 || l.box.left - left <= kFlush * (l.box.top - l.box.bottom);
        });
        std::ptrdiff_t full = std::count_if(first, last, [&](const PartLine& l) {
            return p + 1 == parts_.size() || l.box.right - left >= kProseFill * (right - left);
        });
        if (2 * flush < last - first || 2 * full < last - first) {
            return false;
        }
    }
    return true;
}

bool RunReader::IsTableRow(std::size_t from, std::size_t to) const {
    bool tall = std::all_of(parts_.begin(), parts_.end(), [&](const PartLines& part) {
        auto [first, last] = LinesIn(part, from, to);
        return first == last || last - first >= kTableLines;
    });
    return tall && CountColumnsWithText(from, to) >= 2 && !IsProse(from, to);
}

bool RunReader::IsFarBelow(std::size_t from, std::size_t at) const {
    double widest = 0.0;
    for (const PartLines& part : parts_) {
        auto [first, last] = LinesIn(part, from, at);
        for (auto l = first; l != last && l + 1 != last; ++l) {
            widest = std::max(widest, l->baseline - (l + 1)->baseline);
        }
    }
    return baselines_[at - 1] - baselines_[at] > widest;
}

bool RunReader::IsGridRow(std::size_t from, std::size_t to) const {
    std::size_t justified = 0;
    for (std::size_t p = 0; p < parts_.size(); ++p) {
        justified += IsJustified(p, from, to) ? 1 : 0;
        auto [first, last] = LinesIn(parts_[p], from, to);
        auto i = first - parts_[p].begin();
        auto n = last - first;
        if (n >= 2 && std::find(blockEnds_[p].begin() + i, blockEnds_[p].begin() + i + n - 1, true) !=
                          blockEnds_[p].begin() + i + n - 1) {
            return false;
        }
    }
    return justified < 2;
}

std::vector<RunReading> RunReader::Read() {
    std::vector<RunReading> readings;
    auto add = [&](RunReading::Kind kind, std::size_t from, std::size_t to) {
        if (!readings.empty() && readings.back().kind == kind &&
            readings.back().end == run_.begin + from && kind != RunReading::Kind::Columns) {
            readings.back().end = run_.begin + to;
        } else {
            readings.push_back(RunReading{kind, run_.begin + from, run_.begin + to, {}});
        }
        if (kind == RunReading::Kind::Rows) {
            readings.back().rowEnds.push_back(run_.begin + to);
        }
    };
    std::vector<std::size_t> rowStarts;
    for (std::size_t t = 0; t < count_; ++t) {
        if (t == 0 || cutsBefore_[t] > cutsBefore_[t - 1]) {
            rowStarts.push_back(t);
        }
    }
    rowStarts.push_back(count_);
    const std::size_t rows = rowStarts.size() - 1;

    // A grid is a stretch of grid rows, two of them with text in two columns
    // or more; other rows are slices of columns that happen to leave white
    // space across all of them at once.
    // Rows in one column at a grid's edge belong to the columns beside it.
    std::vector<bool> grid(rows, false);
    std::vector<bool> wide(rows, false);
    for (std::size_t r = 0; r < rows; ++r) {
        wide[r] = CountColumnsWithText(rowStarts[r], rowStarts[r + 1]) >= 2;
    }
    for (std::size_t r = 0; r < rows;) {
        std::size_t next = r;
        std::size_t wideRows = 0;
        for (; next < rows && IsGridRow(rowStarts[next], rowStarts[next + 1]); ++next) {
            wideRows += wide[next] ? 1 : 0;
        }
        if (wideRows >= 2) {
            std::size_t first = r;
            std::size_t last = next;
            if (first > 0) {
                while (!wide[first]) {
                    ++first;
                }
            }
            if (last < rows) {
                while (!wide[last - 1]) {
                    --last;
                }
            }
            std::fill(grid.begin() + static_cast<std::ptrdiff_t>(first),
                      grid.begin() + static_cast<std::ptrdiff_t>(last), true);
        }
        r = next == r ? r + 1 : next;
    }

    for (std::size_t r = 0; r < rows;) {
        std::size_t from = rowStarts[r];
        if (grid[r]) {
            // Cells of prose in two columns or more are read one after
            // another, when two rows of the grid hold such cells; other rows
            // (a table's, a list item beside its bullet, a term beside its
            // description) stay side by side.
            std::size_t end = r;
            std::vector<bool> cells;
            for (; end < rows && grid[end]; ++end) {
                std::size_t to = rowStarts[end + 1];
                cells.push_back(IsProse(rowStarts[end], to) &&
                                IsAligned(rowStarts[end], to));
            }
            bool apart = std::count(cells.begin(), cells.end(), true) >= 2;
            for (std::size_t k = r; k < end; ++k) {
                add(apart && cells[k - r] ? RunReading::Kind::Rows : RunReading::Kind::SideBySide,
                    rowStarts[k], rowStarts[k + 1]);
            }
            r = end;
            continue;
        }
        if (!wide[r] || CountLines(from, rowStarts[r + 1]) == CountColumnsWithText(from, rowStarts[r + 1])) {
            // Rows of one line per column before columns (a heading, a
            // running head and its page number) flow.
            add(RunReading::Kind::SideBySide, from, rowStarts[r + 1]);
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
        while (footer > r + 1 && !wide[footer - 1]) {
            --footer;
        }
        while (footer < next && !(IsFarBelow(from, rowStarts[footer]) &&
                                  rowStarts[next] - rowStarts[footer] <= kFooterLines)) {
            ++footer;
        }
        // Columns when every one of them (two or more) holds prose; anything
        // else (a table, a list beside its bullets or terms, code beside its
        // comments) stays side by side. A row of three lines or more in
        // each column that isn't prose is a table among columns.
        for (std::size_t k = r; k < footer;) {
            std::size_t end = k;
            while (end < footer && !IsTableRow(rowStarts[end], rowStarts[end + 1])) {
                ++end;
            }
            std::size_t to = rowStarts[end];
            if (k < end) {
                bool sideBySide = !IsProse(rowStarts[k], to) || !IsAligned(rowStarts[k], to);
                add(sideBySide ? RunReading::Kind::SideBySide : RunReading::Kind::Columns,
                    rowStarts[k], to);
            }
            if (end < footer) {
                add(RunReading::Kind::SideBySide, to, rowStarts[end + 1]);
                ++end;
            }
            k = end;
        }
        if (footer < next) {
            add(RunReading::Kind::SideBySide, rowStarts[footer], rowStarts[next]);
        }
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
