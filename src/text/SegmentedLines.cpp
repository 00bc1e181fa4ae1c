#include "text/SegmentedLines.h"

#include <algorithm>
#include <numeric>
#include <utility>

namespace tessary {

namespace {

// Calls visit(i, join) for items 0 to count - 1 in order, with how JoinItems
// treats each after the run before it (the first joins nothing).
template <typename ItemAt, typename Visit>
void WalkJoins(std::size_t count, ItemAt itemAt, Visit visit) {
    double runEnd = 0.0;
    double runSpaceWidth = 0.0;
    for (std::size_t i = 0; i < count; ++i) {
        const TextItem& item = itemAt(i);
        ItemJoin join;
        if (i > 0) {
            join = JoinAfter(runEnd, runSpaceWidth, item);
        }
        visit(i, join);
        runSpaceWidth = join.joins ? join.spaceWidth : item.spaceWidth;
        runEnd = item.xEnd;
    }
}

// One baseline's items as the grouping sees them: their vertical extent,
// their ink in runs (flat in `ink`, from inkBegin) and their widest space.
struct RawLine {
    const TextLine* line;
    double top;
    double bottom;
    double spaceWidth;
    std::size_t inkBegin;
    std::size_t inkEnd;
};

struct Ink {
    double left;
    double right;
};

class LineGroups {
  public:
    explicit LineGroups(const std::vector<const TextLine*>& lines);
    // The lines of each group, in the order of their main line; each
    // group's main line first.
    std::vector<std::vector<std::size_t>> Collect() const;

  private:
    bool Overlap(const RawLine& a, const RawLine& b) const;
    bool Near(const RawLine& a, const RawLine& b) const;
    std::size_t Find(std::size_t i) const;

    std::vector<RawLine> raw_;
    std::vector<Ink> ink_;
    mutable std::vector<std::size_t> parent_;
};

LineGroups::LineGroups(const std::vector<const TextLine*>& lines) : parent_(lines.size()) {
    std::iota(parent_.begin(), parent_.end(), 0);
    for (const TextLine* line : lines) {
        const std::vector<TextItem>& items = line->GetItems();
        RawLine raw{line, line->GetTop(), line->GetBottom(), 0.0, ink_.size(), ink_.size()};
        WalkJoins(
            items.size(), [&](std::size_t i) -> const TextItem& { return items[i]; },
            [&](std::size_t i, const ItemJoin& join) {
                const TextItem& item = items[i];
                if (!join.joins) {
                    ink_.push_back(Ink{item.xStart, item.xEnd});
                }
                Ink& run = ink_.back();
                run.left = std::min({run.left, item.xStart, item.xEnd});
                run.right = std::max({run.right, item.xStart, item.xEnd});
                raw.spaceWidth = std::max(raw.spaceWidth, item.spaceWidth);
            });
        raw.inkEnd = ink_.size();
        std::sort(ink_.begin() + static_cast<std::ptrdiff_t>(raw.inkBegin), ink_.end(),
                  [](const Ink& a, const Ink& b) { return a.left < b.left; });
        raw_.push_back(raw);
    }
    for (std::size_t i = 1; i < raw_.size(); ++i) {
        for (std::size_t j = i; j-- > 0 && i - j <= kMaxSatelliteDistance;) {
            if (Find(i) != Find(j) && Overlap(raw_[i], raw_[j]) && Near(raw_[i], raw_[j])) {
                parent_[Find(i)] = Find(j);
            }
        }
    }
}

// Their vertical extents share half the height of the lower one at least,
// as the layout's line joining asks.
bool LineGroups::Overlap(const RawLine& a, const RawLine& b) const {
    std::optional<double> shared = IntersectSpans(a.bottom, a.top, b.bottom, b.top);
    return shared && (*shared >= 0.5 * (a.top - a.bottom) || *shared >= 0.5 * (b.top - b.bottom));
}

// Some run of one ends within two spaces of a run of the other: the gap that
// the layout would still join.
bool LineGroups::Near(const RawLine& a, const RawLine& b) const {
    const double reach = 2.0 * std::max({a.spaceWidth, b.spaceWidth, 0.0});
    std::size_t i = a.inkBegin;
    std::size_t j = b.inkBegin;
    while (i < a.inkEnd && j < b.inkEnd) {
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
    std::vector<std::size_t> main;
    for (std::vector<std::size_t>& group : members) {
        if (group.empty()) {
            continue;
        }
        auto most = std::max_element(group.begin(), group.end(), [&](std::size_t a, std::size_t b) {
            return raw_[a].line->GetItemCount() < raw_[b].line->GetItemCount();
        });
        std::rotate(group.begin(), most, most + 1);
        main.push_back(group.front());
        groups.push_back(std::move(group));
    }
    std::vector<std::size_t> order(groups.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return main[a] < main[b]; });
    std::vector<std::vector<std::size_t>> sorted;
    sorted.reserve(groups.size());
    for (std::size_t g : order) {
        sorted.push_back(std::move(groups[g]));
    }
    return sorted;
}

}  // namespace

SegmentedLines::SegmentedLines(const TextLineList& lines) {
    const std::vector<const TextLine*> raw = lines.GetLines();
    const std::vector<std::vector<std::size_t>> groups = LineGroups(raw).Collect();

    // Each line's items, by xStart; items with equal xStart in the order of
    // their lines, as joining lines keeps them.
    std::vector<std::size_t> itemStarts;
    for (const std::vector<std::size_t>& group : groups) {
        itemStarts.push_back(items_.size());
        std::vector<std::size_t> members = group;
        std::sort(members.begin(), members.end());
        for (std::size_t r : members) {
            for (const TextItem& item : raw[r]->GetItems()) {
                items_.push_back(PlacedItem{&item, raw[r]->GetBaseline()});
            }
        }
        if (members.size() > 1) {
            std::stable_sort(items_.begin() + static_cast<std::ptrdiff_t>(itemStarts.back()),
                             items_.end(), [](const PlacedItem& a, const PlacedItem& b) {
                                 return a.item->xStart < b.item->xStart;
                             });
        }
    }
    itemStarts.push_back(items_.size());

    // Counted first: a page of many short lines would otherwise copy its
    // segments over and over as the vector grows.
    auto walk = [&](std::size_t g, auto visit) {
        const std::size_t first = itemStarts[g];
        WalkJoins(
            itemStarts[g + 1] - first,
            [&](std::size_t i) -> const TextItem& { return *items_[first + i].item; },
            [&](std::size_t i, const ItemJoin& join) { visit(first + i, join); });
    };
    std::size_t count = 0;
    for (std::size_t g = 0; g < groups.size(); ++g) {
        walk(g, [&](std::size_t, const ItemJoin& join) { count += join.joins ? 0 : 1; });
    }
    lines_.reserve(groups.size());
    segments_.reserve(count);
    for (std::size_t g = 0; g < groups.size(); ++g) {
        const std::size_t first = segments_.size();
        walk(g, [&](std::size_t i, const ItemJoin& join) {
            const TextItem& item = *items_[i].item;
            if (!join.joins) {
                segments_.push_back(TextSegment{std::min(item.xStart, item.xEnd),
                                                std::max(item.xStart, item.xEnd),
                                                item.yTop,
                                                item.yBottom,
                                                item.spaceWidth,
                                                TextExtent{item.xStart, item.xEnd},
                                                item.xEnd,
                                                1,
                                                i,
                                                i + 1});
                return;
            }
            TextSegment& run = segments_.back();
            if (run.words == 1 && !join.spaced) {
                run.firstWordEnd = item.xEnd;
            }
            run.spaceWidth = join.spaceWidth;
            run.words += join.spaced ? 1 : 0;
            run.left = std::min({run.left, item.xStart, item.xEnd});
            run.right = std::max({run.right, item.xStart, item.xEnd});
            run.top = std::max(run.top, item.yTop);
            run.bottom = std::min(run.bottom, item.yBottom);
            run.extent.end = item.xEnd;
            run.endItem = i + 1;
        });
        lines_.push_back(SegmentedLine{raw[groups[g].front()]->GetBaseline(), first, segments_.size()});
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
