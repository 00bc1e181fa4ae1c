#include "text/SegmentedLines.h"

#include <algorithm>
#include <numeric>
#include <utility>

namespace tessary {

namespace {

// Cuts items[0, count) (in ascending xStart) into the runs JoinItems makes
// and appends them to segments, item indices counted from `base`.
template <typename ItemAt>
void AppendSegments(std::size_t count, ItemAt itemAt, std::size_t base,
                    std::vector<TextSegment>& segments) {
    double runEnd = 0.0;
    double runSpaceWidth = 0.0;
    for (std::size_t i = 0; i < count; ++i) {
        const TextItem& item = itemAt(i);
        ItemJoin join;
        if (i > 0) {
            join = JoinAfter(runEnd, runSpaceWidth, item);
        }
        runSpaceWidth = join.joins ? join.spaceWidth : item.style->spaceWidth;
        runEnd = item.xEnd;
        if (!join.joins) {
            segments.push_back(TextSegment{
                std::min(item.xStart, item.xEnd), std::max(item.xStart, item.xEnd),
                item.style->yTop, item.style->yBottom, item.style->spaceWidth,
                TextExtent{item.xStart, item.xEnd}, item.xEnd, 1, base + i, base + i + 1});
            continue;
        }
        TextSegment& run = segments.back();
        if (run.words == 1 && !join.spaced) {
            run.firstWordEnd = item.xEnd;
        }
        run.spaceWidth = join.spaceWidth;
        run.words += join.spaced ? 1 : 0;
        run.left = std::min({run.left, item.xStart, item.xEnd});
        run.right = std::max({run.right, item.xStart, item.xEnd});
        run.top = std::max(run.top, item.style->yTop);
        run.bottom = std::min(run.bottom, item.style->yBottom);
        run.extent.end = item.xEnd;
        run.endItem = base + i + 1;
    }
}

// The page's lines as they are, each with its runs (in `segments`, item
// indices counted within the line) and their ink sorted by left edge.
struct RawLine {
    const TextLine* line;
    double top;
    double bottom;
    double spaceWidth;  // the widest of its runs
    std::size_t firstSegment;
    std::size_t endSegment;
};

struct Ink {
    double left;
    double right;
};

// Joins each line with the lines set just off it beside its text.
class LineGroups {
  public:
    LineGroups(const std::vector<RawLine>& raw, const std::vector<TextSegment>& segments);
    // The lines of each group, the group's main line (the one with the most
    // items) first, groups in the order of their main lines.
    std::vector<std::vector<std::size_t>> Collect() const;

  private:
    bool Overlap(const RawLine& a, const RawLine& b) const;
    bool Near(std::size_t a, std::size_t b) const;
    std::size_t Find(std::size_t i) const;

    const std::vector<RawLine>& raw_;
    std::vector<Ink> ink_;  // of line i from inkStarts_[i]
    std::vector<std::size_t> inkStarts_;
    mutable std::vector<std::size_t> parent_;
};

LineGroups::LineGroups(const std::vector<RawLine>& raw, const std::vector<TextSegment>& segments)
    : raw_(raw), parent_(raw.size()) {
    std::iota(parent_.begin(), parent_.end(), 0);
    ink_.reserve(segments.size());
    inkStarts_.reserve(raw.size() + 1);
    for (const RawLine& line : raw) {
        inkStarts_.push_back(ink_.size());
        for (std::size_t s = line.firstSegment; s < line.endSegment; ++s) {
            ink_.push_back(Ink{segments[s].left, segments[s].right});
        }
        std::sort(ink_.begin() + static_cast<std::ptrdiff_t>(inkStarts_.back()), ink_.end(),
                  [](const Ink& a, const Ink& b) { return a.left < b.left; });
    }
    inkStarts_.push_back(ink_.size());
    for (std::size_t i = 1; i < raw.size(); ++i) {
        for (std::size_t j = i; j-- > 0 && i - j <= kMaxSatelliteDistance;) {
            if (Overlap(raw[i], raw[j]) && Find(i) != Find(j) && Near(i, j)) {
                parent_[Find(i)] = Find(j);
            }
        }
    }
}

// Their vertical extents share half the height of one of them at least, as
// the layout's line joining asks.
bool LineGroups::Overlap(const RawLine& a, const RawLine& b) const {
    std::optional<double> shared = IntersectSpans(a.bottom, a.top, b.bottom, b.top);
    return shared && (*shared >= 0.5 * (a.top - a.bottom) || *shared >= 0.5 * (b.top - b.bottom));
}

// Some run of one ends within two spaces of a run of the other: a gap the
// layout would still join.
bool LineGroups::Near(std::size_t a, std::size_t b) const {
    const double reach = 2.0 * std::max({raw_[a].spaceWidth, raw_[b].spaceWidth, 0.0});
    std::size_t i = inkStarts_[a];
    std::size_t j = inkStarts_[b];
    while (i < inkStarts_[a + 1] && j < inkStarts_[b + 1]) {
        const Ink& p = ink_[i];
        const Ink& q = ink_[j];
        const double gap = std::max(p.left, q.left) - std::min(p.right, q.right);
        if (gap <= 0.0 || gap < reach) {
            return true;
        }
        if (p.right < q.right) {
            ++i;
        } else {
            ++j;
        }
    }
    return false;
}

std::size_t LineGroups::Find(std::size_t i) const {
    while (parent_[i] != i) {
        parent_[i] = parent_[parent_[i]];
        i = parent_[i];
    }
    return i;
}

std::vector<std::vector<std::size_t>> LineGroups::Collect() const {
    std::vector<std::vector<std::size_t>> members(raw_.size());
    for (std::size_t i = 0; i < raw_.size(); ++i) {
        members[Find(i)].push_back(i);
    }
    std::vector<std::vector<std::size_t>> groups;
    for (std::vector<std::size_t>& group : members) {
        if (group.empty()) {
            continue;
        }
        auto main = std::max_element(group.begin(), group.end(), [&](std::size_t a, std::size_t b) {
            return raw_[a].line->GetItemCount() < raw_[b].line->GetItemCount();
        });
        std::rotate(group.begin(), main, main + 1);
        groups.push_back(std::move(group));
    }
    std::sort(groups.begin(), groups.end(),
              [](const auto& a, const auto& b) { return a.front() < b.front(); });
    return groups;
}

}  // namespace

SegmentedLines::SegmentedLines(const TextLineList& lines) {
    const std::vector<const TextLine*> all = lines.GetLines();
    std::vector<RawLine> raw;
    std::vector<TextSegment> rawSegments;
    raw.reserve(all.size());
    std::size_t itemCount = 0;
    for (const TextLine* line : all) {
        const std::vector<TextItem>& items = line->GetItems();
        RawLine r{line, line->GetTop(), line->GetBottom(), 0.0, rawSegments.size(), 0};
        AppendSegments(
            items.size(), [&](std::size_t i) -> const TextItem& { return items[i]; }, 0,
            rawSegments);
        r.endSegment = rawSegments.size();
        for (std::size_t s = r.firstSegment; s < r.endSegment; ++s) {
            r.spaceWidth = std::max(r.spaceWidth, rawSegments[s].spaceWidth);
        }
        raw.push_back(r);
        itemCount += items.size();
    }
    const std::vector<std::vector<std::size_t>> groups = LineGroups(raw, rawSegments).Collect();

    items_.reserve(itemCount);
    segments_.reserve(rawSegments.size());
    lines_.reserve(groups.size());
    for (const std::vector<std::size_t>& group : groups) {
        const std::size_t firstItem = items_.size();
        const std::size_t firstSegment = segments_.size();
        const RawLine& main = raw[group.front()];
        if (group.size() == 1) {
            // A line on its own keeps the runs already cut.
            for (const TextItem& item : main.line->GetItems()) {
                items_.push_back(PlacedItem{&item, main.line->GetBaseline()});
            }
            for (std::size_t s = main.firstSegment; s < main.endSegment; ++s) {
                TextSegment segment = rawSegments[s];
                segment.firstItem += firstItem;
                segment.endItem += firstItem;
                segments_.push_back(segment);
            }
        } else {
            // Items by xStart; equal ones in the order of their lines, as
            // joining lines keeps them.
            std::vector<std::size_t> members = group;
            std::sort(members.begin(), members.end());
            for (std::size_t m : members) {
                for (const TextItem& item : raw[m].line->GetItems()) {
                    items_.push_back(PlacedItem{&item, raw[m].line->GetBaseline()});
                }
            }
            std::stable_sort(items_.begin() + static_cast<std::ptrdiff_t>(firstItem), items_.end(),
                             [](const PlacedItem& a, const PlacedItem& b) {
                                 return a.item->xStart < b.item->xStart;
                             });
            AppendSegments(
                items_.size() - firstItem,
                [&](std::size_t i) -> const TextItem& { return *items_[firstItem + i].item; },
                firstItem, segments_);
        }
        lines_.push_back(SegmentedLine{main.line->GetBaseline(), firstSegment, segments_.size()});
    }
}

Region SegmentedLines::GetWholePage() const {
    Region region;
    region.reserve(lines_.size());
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (lines_[i].firstSegment != lines_[i].endSegment) {
            region.push_back(RegionLine{i, lines_[i].firstSegment, lines_[i].endSegment});
        }
    }
    return region;
}

TextSegment SegmentedLines::Measure(const RegionLine& line) const {
    TextSegment box = segments_[line.first];
    for (std::size_t s = line.first + 1; s < line.end; ++s) {
        const TextSegment& next = segments_[s];
        box.left = std::min(box.left, next.left);
        box.right = std::max(box.right, next.right);
        box.top = std::max(box.top, next.top);
        box.bottom = std::min(box.bottom, next.bottom);
        box.words += next.words;
    }
    box.extent.end = segments_[line.end - 1].extent.end;
    return box;
}

LayoutScale SegmentedLines::MeasureScale(const Region& region) const {
    LayoutScale scale;
    for (const RegionLine& line : region) {
        scale.Include(
            TextExtent{segments_[line.first].extent.start, segments_[line.end - 1].extent.end});
    }
    return scale;
}

}  // namespace tessary
