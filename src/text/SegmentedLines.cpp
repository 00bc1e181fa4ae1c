#include "text/SegmentedLines.h"

#include <algorithm>

namespace tessary {

SegmentedLines::SegmentedLines(const TextLineList& lines) {
    for (const TextLine* line : lines.GetLines()) {
        const std::vector<TextItem>& items = line->GetItems();
        SegmentedLine segmented{line, line->GetBaseline(), segments_.size(), segments_.size()};
        TextSegment run;
        double runEnd = 0.0;
        for (std::size_t i = 0; i < items.size(); ++i) {
            const TextItem& item = items[i];
            ItemJoin join;
            if (i > 0) {
                join = JoinAfter(runEnd, run.spaceWidth, item);
            }
            if (join.joins) {
                if (run.words == 1 && !join.spaced) {
                    run.firstWordEnd = item.xEnd;
                }
                run.spaceWidth = join.spaceWidth;
                run.words += join.spaced ? 1 : 0;
                run.left = std::min({run.left, item.xStart, item.xEnd});
                run.right = std::max({run.right, item.xStart, item.xEnd});
                run.top = std::max(run.top, item.yTop);
                run.bottom = std::min(run.bottom, item.yBottom);
            } else {
                if (i > 0) {
                    segments_.push_back(run);
                }
                run = TextSegment{std::min(item.xStart, item.xEnd),
                                  std::max(item.xStart, item.xEnd),
                                  item.yTop,
                                  item.yBottom,
                                  item.spaceWidth,
                                  TextExtent{item.xStart, item.xEnd},
                                  item.xEnd,
                                  1,
                                  i,
                                  i};
            }
            runEnd = item.xEnd;
            run.extent.end = item.xEnd;
            run.endItem = i + 1;
        }
        if (!items.empty()) {
            segments_.push_back(run);
        }
        segmented.endSegment = segments_.size();
        lines_.push_back(segmented);
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
        scale.Include(TextExtent{segments_[line.first].extent.start,
                                 segments_[line.end - 1].extent.end});
    }
    return scale;
}

}  // namespace tessary
