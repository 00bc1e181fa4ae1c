#include "text/SegmentedLines.h"

#include <algorithm>

namespace tessary {

namespace {

// Calls visit(i, join) for the line's items in order, with how JoinItems
// treats each after the run before it (the first joins nothing).
template <typename Visit>
void WalkJoins(const std::vector<TextItem>& items, Visit visit) {
    double runEnd = 0.0;
    double runSpaceWidth = 0.0;
    for (std::size_t i = 0; i < items.size(); ++i) {
        ItemJoin join;
        if (i > 0) {
            join = JoinAfter(runEnd, runSpaceWidth, items[i]);
        }
        visit(i, join);
        runSpaceWidth = join.joins ? join.spaceWidth : items[i].spaceWidth;
        runEnd = items[i].xEnd;
    }
}

}  // namespace

SegmentedLines::SegmentedLines(const TextLineList& lines) {
    std::vector<const TextLine*> all = lines.GetLines();
    // Counted first: a page of many short lines would otherwise copy its
    // segments over and over as the vector grows.
    std::size_t count = 0;
    for (const TextLine* line : all) {
        WalkJoins(line->GetItems(), [&](std::size_t, const ItemJoin& join) {
            count += join.joins ? 0 : 1;
        });
    }
    lines_.reserve(all.size());
    segments_.reserve(count);
    for (const TextLine* line : all) {
        const std::vector<TextItem>& items = line->GetItems();
        const std::size_t first = segments_.size();
        WalkJoins(items, [&](std::size_t i, const ItemJoin& join) {
            const TextItem& item = items[i];
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
        lines_.push_back(SegmentedLine{line, line->GetBaseline(), first, segments_.size()});
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
