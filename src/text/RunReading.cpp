#include "text/RunReading.h"

#include <algorithm>
#include <utility>

namespace tessary {

namespace {

// A baseline distance this many line heights apart is where the layout puts a
// blank line, and a block ends.
constexpr double kBlankLineGap = 1.5;
// A distance this many times a column's median one also ends a block: the
// padding between table cells is often less than a blank line.
constexpr double kPaddedPitch = 1.25;
// Lines whose baselines are closer than this many line heights share one.
constexpr double kSameBaseline = 0.25;
// A line of running text has this many words and fills this much of its column.
constexpr std::size_t kProseWords = 3;
constexpr double kProseFill = 0.6;
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
    // Most rows of lines (lines whose baselines nearly agree) have text in
    // two columns or more.
    bool IsPaired(std::size_t from, std::size_t to) const;
    std::size_t CountBaselines(std::size_t from, std::size_t to) const;
    // A column of an article: justified (most lines of three words or more
    // end at its right edge) or set in paragraphs of two lines or more.
    bool IsArticleColumn(std::size_t p, std::size_t from, std::size_t to) const;
    // Two columns or more hold two lines of prose each: three words or more
    // that fill most of the column.
    bool HasProseCells(std::size_t from, std::size_t to) const;
    std::size_t CountColumnsWithText(std::size_t from, std::size_t to) const;
    // Every column but the first starts most of its lines at its left edge:
    // columns of text and cells do, chance gaps between words don't.
    bool IsAligned(std::size_t from, std::size_t to) const;
    // Most block ends of the columns are row ends.
    bool IsGrid(std::size_t from, std::size_t to) const;

    const ColumnRun& run_;
    std::size_t count_;  // lines in the run
    std::vector<PartLines> parts_;
    // Per part, whether a block ends after each of its lines.
    std::vector<std::vector<bool>> blockEnds_;
    std::vector<double> baselines_;
    std::vector<double> heights_;
    std::vector<double> tops_;
    std::vector<double> bottoms_;
    // Per run line: the first and last column it has text in.
    std::vector<std::size_t> firstPart_;
    std::vector<std::size_t> lastPart_;
    // cutsBefore_[t]: rows that end before run line t (a row end after t - 1
    // and earlier).
    std::vector<std::size_t> cutsBefore_;
};

RunReader::RunReader(const SegmentedLines& page, const Region& region, const ColumnRun& run,
                     const std::vector<Region>& parts)
    : run_(run), count_(run.end - run.begin) {
    baselines_.resize(count_);
    heights_.resize(count_);
    tops_.resize(count_);
    bottoms_.resize(count_);
    for (std::size_t t = 0; t < count_; ++t) {
        const RegionLine& line = region[run.begin + t];
        TextSegment box = page.Measure(line);
        baselines_[t] = page.GetBaseline(line);
        heights_[t] = box.top - box.bottom;
        tops_[t] = box.top;
        bottoms_[t] = box.bottom;
    }
    firstPart_.assign(count_, parts.size());
    lastPart_.assign(count_, 0);
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
            firstPart_[t] = std::min(firstPart_[t], p);
            lastPart_[t] = std::max(lastPart_[t], p);
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
    for (const PartLines& part : parts_) {
        std::vector<bool>& ends = blockEnds_.emplace_back(part.size(), false);
        // The median line distance; with fewer than three it says little.
        double pitch = 0.0;
        if (part.size() >= 4) {
            std::vector<double> distances;
            for (std::size_t i = 0; i + 1 < part.size(); ++i) {
                distances.push_back(part[i].baseline - part[i + 1].baseline);
            }
            auto middle = distances.begin() + static_cast<std::ptrdiff_t>(distances.size() / 2);
            std::nth_element(distances.begin(), middle, distances.end());
            pitch = *middle;
        }
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

std::size_t RunReader::CountBaselines(std::size_t from, std::size_t to) const {
    std::size_t baselines = 0;
    for (std::size_t t = from; t < to; ++baselines) {
        std::size_t first = t;
        for (++t; t < to && baselines_[first] - baselines_[t] < kSameBaseline * heights_[first];
             ++t) {
        }
    }
    return baselines;
}

bool RunReader::IsPaired(std::size_t from, std::size_t to) const {
    std::size_t baselines = 0;
    std::size_t paired = 0;
    for (std::size_t t = from; t < to; ++baselines) {
        std::size_t first = t;
        std::size_t leftmost = firstPart_[t];
        std::size_t rightmost = lastPart_[t];
        for (++t; t < to && baselines_[first] - baselines_[t] < kSameBaseline * heights_[first];
             ++t) {
            leftmost = std::min(leftmost, firstPart_[t]);
            rightmost = std::max(rightmost, lastPart_[t]);
        }
        paired += leftmost < rightmost ? 1 : 0;
    }
    return 3 * paired >= 2 * baselines;
}

bool RunReader::IsArticleColumn(std::size_t p, std::size_t from, std::size_t to) const {
    auto [first, last] = LinesIn(parts_[p], from, to);
    std::ptrdiff_t lines = last - first;
    if (lines < 2) {
        return false;
    }
    double right = first->box.right;
    for (auto l = first; l != last; ++l) {
        right = std::max(right, l->box.right);
    }
    std::ptrdiff_t flush = std::count_if(first, last, [&](const PartLine& l) {
        return l.box.words >= kProseWords && right - l.box.right <= kFlush * (l.box.top - l.box.bottom);
    });
    if (2 * flush >= lines) {
        return true;
    }
    const std::vector<bool>& ends = blockEnds_[p];
    auto i = static_cast<std::size_t>(first - parts_[p].begin());
    std::ptrdiff_t blocks = 1 + std::count(ends.begin() + static_cast<std::ptrdiff_t>(i),
                                           ends.begin() + static_cast<std::ptrdiff_t>(i) + lines - 1,
                                           true);
    return blocks >= 2 && lines >= 2 * blocks;
}

bool RunReader::HasProseCells(std::size_t from, std::size_t to) const {
    return std::count_if(parts_.begin(), parts_.end(), [&](const PartLines& part) {
        auto [first, last] = LinesIn(part, from, to);
        if (last - first < 2) {
            return false;
        }
        double left = first->box.left;
        double right = first->box.right;
        for (auto l = first; l != last; ++l) {
            left = std::min(left, l->box.left);
            right = std::max(right, l->box.right);
        }
        return std::count_if(first, last, [&](const PartLine& l) {
                   return l.box.words >= kProseWords &&
                          l.box.right - l.box.left >= kProseFill * (right - left);
               }) >= 2;
    }) >= 2;
}

std::size_t RunReader::CountColumnsWithText(std::size_t from, std::size_t to) const {
    return static_cast<std::size_t>(
        std::count_if(parts_.begin(), parts_.end(), [&](const PartLines& part) {
            auto [first, last] = LinesIn(part, from, to);
            return first != last;
        }));
}

bool RunReader::IsAligned(std::size_t from, std::size_t to) const {
    for (std::size_t p = 1; p < parts_.size(); ++p) {
        auto [first, last] = LinesIn(parts_[p], from, to);
        if (first == last) {
            continue;
        }
        double left = first->box.left;
        for (auto l = first; l != last; ++l) {
            left = std::min(left, l->box.left);
        }
        std::ptrdiff_t flush = std::count_if(first, last, [&](const PartLine& l) {
            return l.box.left - left <= kFlush * (l.box.top - l.box.bottom);
        });
        if (2 * flush < last - first) {
            return false;
        }
    }
    return true;
}

bool RunReader::IsGrid(std::size_t from, std::size_t to) const {
    std::size_t ends = 0;
    std::size_t atCuts = 0;
    for (std::size_t p = 0; p < parts_.size(); ++p) {
        const PartLines& part = parts_[p];
        auto [first, last] = LinesIn(part, from, to);
        for (auto i = static_cast<std::size_t>(first - part.begin());
             i + 1 < static_cast<std::size_t>(last - part.begin()); ++i) {
            if (!blockEnds_[p][i]) {
                continue;
            }
            ++ends;
            atCuts += cutsBefore_[part[i + 1].at] > cutsBefore_[part[i].at] ? 1 : 0;
        }
    }
    return ends > 0 && 3 * atCuts >= 2 * ends;
}

std::vector<RunReading> RunReader::Read() {
    std::vector<RunReading> readings;
    auto add = [&](RunReading::Kind kind, std::size_t from, std::size_t to) {
        if (kind == RunReading::Kind::SideBySide && !readings.empty() &&
            readings.back().kind == kind) {
            readings.back().end = run_.begin + to;
        } else {
            readings.push_back(RunReading{kind, run_.begin + from, run_.begin + to, {}});
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

    if (rows == 1) {
        // Lines that pair across the gutter are a table, or the wide gaps of
        // one text, unless every column reads as an article's.
        bool articles = true;
        for (std::size_t p = 0; p < parts_.size() && articles; ++p) {
            articles = IsArticleColumn(p, 0, count_);
        }
        bool sideBySide = (IsPaired(0, count_) && !articles) || !IsAligned(0, count_);
        add(sideBySide ? RunReading::Kind::SideBySide : RunReading::Kind::Columns, 0, count_);
        return readings;
    }

    // A table row pairs its lines across the gutter and holds no cell of
    // prose; a table is a stretch of such rows with two baselines or more,
    // rows with text in one column only allowed between them.
    enum class Row { Table, OneColumn, Text };
    std::vector<Row> kinds;
    for (std::size_t r = 0; r < rows; ++r) {
        std::size_t from = rowStarts[r];
        std::size_t to = rowStarts[r + 1];
        kinds.push_back(CountColumnsWithText(from, to) <= 1             ? Row::OneColumn
                        : IsPaired(from, to) && !HasProseCells(from, to) ? Row::Table
                                                                        : Row::Text);
    }
    std::vector<bool> table(rows, false);
    for (std::size_t r = 0; r < rows;) {
        if (kinds[r] != Row::Table) {
            ++r;
            continue;
        }
        std::size_t last = r;
        std::size_t baselines = 0;
        for (std::size_t k = r; k < rows && kinds[k] != Row::Text; ++k) {
            if (kinds[k] == Row::Table) {
                last = k;
                baselines += CountBaselines(rowStarts[k], rowStarts[k + 1]);
            }
        }
        std::fill(table.begin() + static_cast<std::ptrdiff_t>(r),
                  table.begin() + static_cast<std::ptrdiff_t>(last) + 1, baselines >= 2);
        r = last + 1;
    }

    // The other rows, grouped between tables: a grid when most block ends
    // are row ends, columns otherwise.
    for (std::size_t r = 0; r < rows;) {
        if (table[r]) {
            add(RunReading::Kind::SideBySide, rowStarts[r], rowStarts[r + 1]);
            ++r;
            continue;
        }
        std::size_t next = r;
        while (next < rows && !table[next]) {
            ++next;
        }
        std::size_t from = rowStarts[r];
        std::size_t to = rowStarts[next];
        if (!IsAligned(from, to)) {
            add(RunReading::Kind::SideBySide, from, to);
        } else if (next - r >= 2 && IsGrid(from, to)) {
            add(RunReading::Kind::Rows, from, to);
            for (std::size_t k = r + 1; k <= next; ++k) {
                readings.back().rowEnds.push_back(run_.begin + rowStarts[k]);
            }
        } else {
            add(RunReading::Kind::Columns, from, to);
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
