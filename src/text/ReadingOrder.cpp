#include "text/ReadingOrder.h"

#include <algorithm>

#include "text/ColumnRuns.h"
#include "text/RunReading.h"
#include "text/SegmentedLines.h"

namespace tessary {

namespace {

// How a region is read: steps top to bottom, each lines that flow on the
// region's scale (SideBySide) or lines read as columns or rows of cells.
struct ReadingPlan {
    struct Step {
        RunReading reading;
        std::size_t run = 0;  // in runParts
    };
    std::vector<Step> steps;
    std::vector<std::vector<Region>> runParts;  // the columns of each run with gutters
};

class ReadingOrderLayout {
  public:
    ReadingOrderLayout(TextLineList& lines, std::vector<std::string>& output, int width)
        : lines_(lines), page_(lines), output_(output), start_(output.size()), width_(width) {}

    void LayOut();

  private:
    // The region's plan; no steps when it has no columns to read apart.
    ReadingPlan Plan(const Region& region) const;
    void LayOutRegion(const Region& region, const LayoutScale& scale, int depth);
    void LayOutPlan(const Region& region, const ReadingPlan& plan, const LayoutScale& scale,
                    int depth);
    void LayOutBlock(const Region& region, const LayoutScale& scale);
    void Append(const std::vector<std::string>& block);

    TextLineList& lines_;
    SegmentedLines page_;
    std::vector<std::string>& output_;
    std::size_t start_;
    int width_;
};

// The lines of a column that lie in region lines [begin, end).
Region LinesOf(const Region& part, const Region& region, std::size_t begin, std::size_t end) {
    auto before = [](const RegionLine& l, std::size_t line) { return l.line < line; };
    auto first = std::lower_bound(part.begin(), part.end(), region[begin].line, before);
    auto last = std::lower_bound(first, part.end(), region[end - 1].line + 1, before);
    return Region(first, last);
}

void ReadingOrderLayout::LayOut() {
    Region whole = page_.GetWholePage();
    ReadingPlan plan = Plan(whole);
    if (plan.steps.empty()) {
        lines_.LayOutLines(output_, width_);
        return;
    }
    LayOutPlan(whole, plan, lines_.MeasureScale(), 0);
}

ReadingPlan ReadingOrderLayout::Plan(const Region& region) const {
    ReadingPlan plan;
    bool apart = false;
    for (const ColumnRun& run : FindColumnRuns(page_, region)) {
        if (run.gutters.empty()) {
            plan.steps.push_back(
                {RunReading{RunReading::Kind::SideBySide, run.begin, run.end, {}}});
            continue;
        }
        std::vector<Region>& parts = plan.runParts.emplace_back(SplitAtGutters(page_, region, run));
        for (RunReading& reading : ReadRun(page_, region, run, parts)) {
            apart = apart || reading.kind != RunReading::Kind::SideBySide;
            plan.steps.push_back({std::move(reading), plan.runParts.size() - 1});
        }
    }
    if (!apart) {
        plan.steps.clear();
    }
    return plan;
}

void ReadingOrderLayout::LayOutRegion(const Region& region, const LayoutScale& scale, int depth) {
    ReadingPlan plan;
    if (depth < kMaxBlockNesting) {
        plan = Plan(region);
    }
    if (plan.steps.empty()) {
        LayOutBlock(region, scale);
    } else {
        LayOutPlan(region, plan, scale, depth);
    }
}

void ReadingOrderLayout::LayOutPlan(const Region& region, const ReadingPlan& plan,
                                    const LayoutScale& scale, int depth) {
    auto layOutCells = [&](const std::vector<Region>& parts, std::size_t begin, std::size_t end) {
        for (const Region& part : parts) {
            Region cell = LinesOf(part, region, begin, end);
            if (!cell.empty()) {
                // The page's scale, from the cell's own left edge: a column
                // reads as it stands on the page, only moved to the left.
                LayoutScale own = page_.MeasureScale(cell);
                LayOutRegion(cell, LayoutScale{own.minX, own.minX + (scale.maxX - scale.minX)},
                             depth + 1);
            }
        }
    };
    std::size_t flowFrom = 0;
    std::size_t flowTo = 0;  // region lines that flow, not laid out yet
    auto layOutFlow = [&] {
        if (flowFrom < flowTo) {
            LayOutBlock(Region(region.begin() + static_cast<std::ptrdiff_t>(flowFrom),
                               region.begin() + static_cast<std::ptrdiff_t>(flowTo)),
                        scale);
        }
        flowFrom = flowTo;
    };
    for (const ReadingPlan::Step& step : plan.steps) {
        const RunReading& reading = step.reading;
        if (reading.kind == RunReading::Kind::SideBySide) {
            flowTo = reading.end;
            continue;
        }
        layOutFlow();
        const std::vector<Region>& parts = plan.runParts[step.run];
        if (reading.kind == RunReading::Kind::Columns) {
            layOutCells(parts, reading.begin, reading.end);
        } else {
            std::size_t rowBegin = reading.begin;
            for (std::size_t rowEnd : reading.rowEnds) {
                layOutCells(parts, rowBegin, rowEnd);
                rowBegin = rowEnd;
            }
        }
        flowFrom = flowTo = reading.end;
    }
    layOutFlow();
}

void ReadingOrderLayout::LayOutBlock(const Region& region, const LayoutScale& scale) {
    TextLineList block;
    const std::vector<PlacedItem>& items = page_.GetItems();
    const std::vector<TextSegment>& segments = page_.GetSegments();
    for (const RegionLine& line : region) {
        // Each item goes back to the line of its baseline: the first of a
        // baseline finds or makes it, the next ones of the same baseline join
        // it as a string's characters do.
        TextLine* target = nullptr;
        double targetBaseline = 0.0;
        const std::size_t end = segments[line.end - 1].endItem;
        for (std::size_t i = segments[line.first].firstItem; i < end; ++i) {
            const TextItem& item = *items[i].item;
            if (target && items[i].baseline != targetBaseline) {
                target = nullptr;
            }
            TextLine* added =
                block.AddItem(target, items[i].baseline, item.xStart, item.xEnd, item.style->yTop,
                              item.style->yBottom, item.style->spaceWidth, item.text);
            if (added && !target) {
                added->ReserveItems(end - i - 1);
            }
            target = added;
            targetBaseline = items[i].baseline;
        }
    }
    std::vector<std::string> laidOut;
    block.LayOutLines(laidOut, width_, scale);
    Append(laidOut);
}

void ReadingOrderLayout::Append(const std::vector<std::string>& block) {
    if (block.empty()) {
        return;
    }
    if (output_.size() > start_) {
        output_.emplace_back();
    }
    output_.insert(output_.end(), block.begin(), block.end());
}

}  // namespace

void LayOutInOrder(TextLineList& lines, std::vector<std::string>& output, int width,
                   TextOrder order) {
    if (order == TextOrder::Layout) {
        lines.LayOutLines(output, width);
        return;
    }
    ReadingOrderLayout(lines, output, width).LayOut();
}

}  // namespace tessary
