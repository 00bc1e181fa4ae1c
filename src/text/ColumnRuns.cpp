#include "text/ColumnRuns.h"

#include <algorithm>
#include <iterator>

namespace tessary {

namespace {

// Fewer lines than this in a column are no column: two lines that happen to
// leave gaps in the same place are just lines.
constexpr std::size_t kMinColumnLines = 3;
// Columns shorter than this may be chance gaps between the words of a
// justified paragraph, when the lines around them continue the paragraph.
constexpr std::size_t kFewColumnLines = 6;
// Lines closer than this many line heights are one paragraph: the layout puts
// no blank line between them.
constexpr double kParagraphGap = 1.5;

using Spans = std::vector<Span>;

class RunFinder {
  public:
    RunFinder(const SegmentedLines& page, const Region& region);
    std::vector<ColumnRun> Find();

  private:
    bool IsWide(double lo, double hi) const { return hi > lo && hi - lo >= minGutter_; }
    // The union of the line's ink, left to right.
    Spans Cover(const RegionLine& line) const;
    void Cover(const RegionLine& line, Spans& cover) const;
    // The parts of `free` that `cover` leaves, the narrow ones dropped.
    void Subtract(const Spans& free, const Spans& cover, Spans& left) const;
    bool HasInnerGap(const Spans& cover) const;
    static bool HasInterior(const Spans& free, Span extent);
    static bool Crosses(const Spans& cover, const std::vector<Span>& gutters);
    // Gutters of lines [begin, end): the wide gaps free in all of them with
    // text on both sides.
    std::vector<Span> MeasureGutters(std::size_t begin, std::size_t end) const;
    void AddRun(std::size_t begin, std::size_t end);
    // Lines without gutters, joined to the flow before them.
    void AddFlow(std::size_t begin, std::size_t end);
    // Moves the lines at the end of the flow above the run into the run, as
    // long as they lie within its columns: the greedy growth of the flow may
    // have taken the first lines of the columns (a heading beside the first
    // line of the next column) before the gutter showed.
    void TakeFlowAbove(ColumnRun& run);
    // Whether a run of few lines continues the paragraph of the line just
    // above or below it, which runs through its gutters.
    bool IsGluedIntoFlow(const ColumnRun& run, const std::vector<Region>& parts) const;

    const SegmentedLines& page_;
    const Region& region_;
    Span whole_;
    double minGutter_ = 0.0;
    std::vector<ColumnRun> runs_;
};

RunFinder::RunFinder(const SegmentedLines& page, const Region& region)
    : page_(page), region_(region) {
    const std::vector<TextSegment>& segments = page.GetSegments();
    std::vector<double> spaceWidths;
    bool first = true;
    for (const RegionLine& line : region) {
        for (std::size_t s = line.first; s < line.end; ++s) {
            if (segments[s].spaceWidth > 0.0) {
                spaceWidths.push_back(segments[s].spaceWidth);
            }
            whole_.lo = first ? segments[s].left : std::min(whole_.lo, segments[s].left);
            whole_.hi = first ? segments[s].right : std::max(whole_.hi, segments[s].right);
            first = false;
        }
    }
    if (!spaceWidths.empty()) {
        auto middle = spaceWidths.begin() + static_cast<std::ptrdiff_t>(spaceWidths.size() / 2);
        std::nth_element(spaceWidths.begin(), middle, spaceWidths.end());
        minGutter_ = *middle;
    }
}

Spans RunFinder::Cover(const RegionLine& line) const {
    Spans cover;
    Cover(line, cover);
    return cover;
}

void RunFinder::Cover(const RegionLine& line, Spans& cover) const {
    const std::vector<TextSegment>& segments = page_.GetSegments();
    cover.clear();
    for (std::size_t s = line.first; s < line.end; ++s) {
        cover.push_back(Span{segments[s].left, segments[s].right});
    }
    // Segments come by their first item's start; ink can reach further left.
    auto byStart = [](const Span& a, const Span& b) { return a.lo < b.lo; };
    if (!std::is_sorted(cover.begin(), cover.end(), byStart)) {
        std::sort(cover.begin(), cover.end(), byStart);
    }
    std::size_t kept = 0;
    for (std::size_t i = 1; i < cover.size(); ++i) {
        if (cover[i].lo <= cover[kept].hi) {
            cover[kept].hi = std::max(cover[kept].hi, cover[i].hi);
        } else {
            cover[++kept] = cover[i];
        }
    }
    cover.resize(std::min(cover.size(), kept + 1));
}

void RunFinder::Subtract(const Spans& free, const Spans& cover, Spans& left) const {
    left.clear();
    std::size_t c = 0;
    for (const Span& span : free) {
        while (c < cover.size() && cover[c].hi <= span.lo) {
            ++c;
        }
        double from = span.lo;
        for (std::size_t k = c; k < cover.size() && cover[k].lo < span.hi; ++k) {
            if (IsWide(from, cover[k].lo)) {
                left.push_back(Span{from, cover[k].lo});
            }
            from = std::max(from, cover[k].hi);
        }
        if (IsWide(from, span.hi)) {
            left.push_back(Span{from, span.hi});
        }
    }
}

bool RunFinder::HasInnerGap(const Spans& cover) const {
    for (std::size_t i = 1; i < cover.size(); ++i) {
        if (IsWide(cover[i - 1].hi, cover[i].lo)) {
            return true;
        }
    }
    return false;
}

bool RunFinder::Crosses(const Spans& cover, const std::vector<Span>& gutters) {
    // Both sorted and disjoint: one walk.
    for (std::size_t c = 0, g = 0; c < cover.size() && g < gutters.size();) {
        if (cover[c].lo < gutters[g].hi && gutters[g].lo < cover[c].hi) {
            return true;
        }
        if (cover[c].hi <= gutters[g].lo) {
            ++c;
        } else {
            ++g;
        }
    }
    return false;
}

bool RunFinder::HasInterior(const Spans& free, Span extent) {
    return std::any_of(free.begin(), free.end(), [&](const Span& span) {
        return span.lo > extent.lo && span.hi < extent.hi;
    });
}

std::vector<Span> RunFinder::MeasureGutters(std::size_t begin, std::size_t end) const {
    Spans free{whole_};
    Spans cover, next;
    Span extent{whole_.hi, whole_.lo};
    for (std::size_t i = begin; i < end && !free.empty(); ++i) {
        Cover(region_[i], cover);
        Subtract(free, cover, next);
        std::swap(free, next);
        if (free.size() > kMaxGaps) {
            return {};
        }
        extent = Span{std::min(extent.lo, cover.front().lo), std::max(extent.hi, cover.back().hi)};
    }
    std::vector<Span> gutters;
    for (const Span& span : free) {
        if (span.lo > extent.lo && span.hi < extent.hi) {
            gutters.push_back(span);
        }
    }
    return gutters;
}

void RunFinder::AddRun(std::size_t begin, std::size_t end) {
    const std::size_t firstBegin = begin;
    const std::size_t lastEnd = end;
    ColumnRun run{begin, end, MeasureGutters(begin, end)};
    std::vector<Region> parts;
    for (int trims = 0; !run.gutters.empty(); ++trims) {
        parts = SplitAtGutters(page_, region_, run);
        // Whether every column that holds the line holds nothing else.
        auto alone = [&](std::size_t line, bool atStart) {
            return std::all_of(parts.begin(), parts.end(), [&](const Region& part) {
                return part.size() == 1 || part.empty() ||
                       (atStart ? part.front() : part.back()).line != line;
            });
        };
        if (trims == kMaxRunTrims || run.end - run.begin < 2) {
            break;
        }
        if (alone(region_[run.begin].line, true)) {
            ++run.begin;
        } else if (alone(region_[run.end - 1].line, false)) {
            --run.end;
        } else {
            break;
        }
        run.gutters = MeasureGutters(run.begin, run.end);
        parts.clear();
    }
    if (firstBegin < run.begin) {
        AddFlow(firstBegin, run.begin);
    }
    if (!run.gutters.empty()) {
        TakeFlowAbove(run);
        parts = SplitAtGutters(page_, region_, run);
        if (std::any_of(parts.begin(), parts.end(),
                        [](const Region& part) { return part.size() < kMinColumnLines; }) ||
            IsGluedIntoFlow(run, parts)) {
            run.gutters.clear();
        }
    }
    if (run.gutters.empty()) {
        AddFlow(run.begin, run.end);
    } else {
        runs_.push_back(run);
    }
    if (run.end < lastEnd) {
        AddFlow(run.end, lastEnd);
    }
}

bool RunFinder::IsGluedIntoFlow(const ColumnRun& run, const std::vector<Region>& parts) const {
    std::size_t partLines = 0;
    for (const Region& part : parts) {
        partLines += part.size();
    }
    // Long columns are columns, unless every line holds text on both sides
    // of a gutter: then they may be one text set with wide gaps.
    if (partLines < 2 * (run.end - run.begin) &&
        std::all_of(parts.begin(), parts.end(),
                    [](const Region& part) { return part.size() >= kFewColumnLines; })) {
        return false;
    }
    auto glued = [&](const RegionLine& above, const RegionLine& below, const RegionLine& outside) {
        TextSegment a = page_.Measure(above);
        TextSegment b = page_.Measure(below);
        double distance = page_.GetBaseline(above) - page_.GetBaseline(below);
        if (distance >= kParagraphGap * (a.top - a.bottom) ||
            distance >= kParagraphGap * (b.top - b.bottom)) {
            return false;
        }
        return Crosses(Cover(outside), run.gutters);
    };
    return (run.begin > 0 &&
            glued(region_[run.begin - 1], region_[run.begin], region_[run.begin - 1])) ||
           (run.end < region_.size() &&
            glued(region_[run.end - 1], region_[run.end], region_[run.end]));
}

void RunFinder::TakeFlowAbove(ColumnRun& run) {
    if (runs_.empty() || !runs_.back().gutters.empty()) {
        return;
    }
    ColumnRun& flow = runs_.back();
    // The columns' extents: a line is taken only when it lies within them,
    // so that it adds no column of its own (a page number beside a header).
    std::vector<Span> columns;
    for (const Region& part : SplitAtGutters(page_, region_, run)) {
        Span extent{whole_.hi, whole_.lo};
        for (const RegionLine& line : part) {
            Spans cover = Cover(line);
            extent =
                Span{std::min(extent.lo, cover.front().lo), std::max(extent.hi, cover.back().hi)};
        }
        columns.push_back(extent);
    }
    // Columns lie left to right: each ink span is looked up by its start.
    auto fits = [&](const Spans& cover) {
        return cover.size() <= kMaxGaps &&
               std::all_of(cover.begin(), cover.end(), [&](const Span& ink) {
                   auto column =
                       std::upper_bound(columns.begin(), columns.end(), ink.lo,
                                        [](double lo, const Span& c) { return lo < c.lo; });
                   return column != columns.begin() && ink.hi <= std::prev(column)->hi;
               });
    };
    const std::size_t begin = run.begin;
    while (flow.begin < run.begin && fits(Cover(region_[run.begin - 1]))) {
        --run.begin;
    }
    if (run.begin == begin) {
        return;
    }
    flow.end = run.begin;
    if (flow.begin == flow.end) {
        runs_.pop_back();
    }
    run.gutters = MeasureGutters(run.begin, run.end);
}

std::vector<ColumnRun> RunFinder::Find() {
    std::size_t i = 0;
    Spans cover, free, next;  // kept to reuse their storage
    while (i < region_.size()) {
        Cover(region_[i], cover);
        if (cover.size() > kMaxGaps) {
            AddFlow(i, i + 1);
            ++i;
            continue;
        }
        Subtract(Spans{whole_}, cover, free);
        Span extent{cover.front().lo, cover.back().hi};
        bool hadInterior = HasInterior(free, extent);
        std::size_t j = i + 1;
        for (; j < region_.size(); ++j) {
            Cover(region_[j], cover);
            if (cover.size() > kMaxGaps) {
                break;
            }
            Subtract(free, cover, next);
            Span grown{std::min(extent.lo, cover.front().lo), std::max(extent.hi, cover.back().hi)};
            if (next.empty() || next.size() > kMaxGaps) {
                break;
            }
            bool interior = HasInterior(next, grown);
            if (!interior && (hadInterior || HasInnerGap(cover))) {
                break;
            }
            std::swap(free, next);
            extent = grown;
            hadInterior = interior;
        }
        if (hadInterior) {
            AddRun(i, j);
        } else {
            AddFlow(i, j);
        }
        i = j;
    }
    return std::move(runs_);
}

void RunFinder::AddFlow(std::size_t begin, std::size_t end) {
    if (!runs_.empty() && runs_.back().gutters.empty() && runs_.back().end == begin) {
        runs_.back().end = end;
    } else {
        runs_.push_back(ColumnRun{begin, end, {}});
    }
}

}  // namespace

std::vector<ColumnRun> FindColumnRuns(const SegmentedLines& page, const Region& region) {
    return RunFinder(page, region).Find();
}

std::vector<Region> SplitAtGutters(const SegmentedLines& page, const Region& region,
                                   const ColumnRun& run) {
    const std::vector<TextSegment>& segments = page.GetSegments();
    std::vector<Region> parts(run.gutters.size() + 1);
    for (std::size_t i = run.begin; i < run.end; ++i) {
        const RegionLine& line = region[i];
        std::size_t from = line.first;
        std::size_t part = 0;
        for (std::size_t s = line.first; s < line.end; ++s) {
            std::size_t p = static_cast<std::size_t>(
                std::partition_point(run.gutters.begin(), run.gutters.end(),
                                     [&](const Span& g) { return g.hi <= segments[s].left; }) -
                run.gutters.begin());
            if (p != part && s != from) {
                parts[part].push_back(RegionLine{line.line, from, s});
                from = s;
            }
            part = p;
        }
        parts[part].push_back(RegionLine{line.line, from, line.end});
    }
    return parts;
}

}  // namespace tessary
