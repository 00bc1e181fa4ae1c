// One output line under construction: the items that share a baseline (or
// that the layout decided belong together), kept in reading order.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "text/ItemArena.h"
#include "text/TextItem.h"

namespace tessary {

// The widest layout: a larger width is laid out as this one, and an item
// whose computed column lies beyond it takes the next free column instead.
// Bounds the spaces a single line can be padded with, whatever the file says.
inline constexpr int kMaxLineWidth = 10000;

// Where a line's text starts and ends, see TextLine::GetTextExtent.
struct TextExtent {
    double start = 0.0;
    double end = 0.0;
};

// Length of the common part of [lo1, hi1] and [lo2, hi2], or nothing when
// they don't overlap. Spans that only touch don't overlap.
std::optional<double> IntersectSpans(double lo1, double hi1, double lo2, double hi2);

// How JoinItems treats the item that follows a run (the run's end and space
// width as they stand when the item is compared): joined when the gap is less
// than twice the space width, with one space when it exceeds half of it.
struct ItemJoin {
    bool joins = false;
    bool spaced = false;
    double spaceWidth = 0.0;  // the run's space width once joined
};
ItemJoin JoinAfter(double runEnd, double runSpaceWidth, const TextItem& next);

class TextLine {
  public:
    explicit TextLine(double baseline) : baseline_(baseline) {}

    double GetBaseline() const { return baseline_; }
    double GetTop() const { return top_; }
    double GetBottom() const { return bottom_; }
    double GetHeight() const { return top_ - bottom_; }
    std::size_t GetItemCount() const { return items_.size(); }

    // The items in line order: ascending xStart, items with equal xStart in
    // the order they were inserted.
    const std::vector<TextItem>& GetItems() const;

    // Adds the item, with a copy of its text, after every item whose xStart
    // is less than or equal to xStart, and widens top and bottom to take in
    // its extent. An item with a number that is not finite is ignored.
    void InsertItem(double xStart, double xEnd, double yTop, double yBottom, double spaceWidth,
                    std::string_view text);

    // Makes room for this many more items.
    void ReserveItems(std::size_t count);

    // xStart of the first and xEnd of the last item whose text is not exactly
    // " "; nothing when there is no such item.
    std::optional<TextExtent> GetTextExtent() const;

    // Joins neighbouring items whose gap is less than twice the space width
    // into runs, putting one space where the gap exceeds half a space width.
    void JoinItems();

    // Whether this line belongs to the line above it: their vertical extents
    // share at least half of either height, and no two items write over each
    // other unless the baselines are less than half a character height apart.
    bool CanJoin(const TextLine& above) const;

    // Moves every item of other into this line, as InsertItem would, in
    // other's order. The baseline stays this line's.
    void Absorb(TextLine&& other);

    // The line's text with each item at its column: ((xStart - minX) * width)
    // / range, or the next free column when that one is taken, out of range
    // or not finite. Trims trailing white space off the items' texts (in the
    // items) and ends every item with one space.
    std::string RenderLine(double minX, double range, int width);

  private:
    // The items are kept as a stack of runs, each sorted by xStart, oldest
    // first; line order is the stable merge of the runs. Runs let items and
    // absorbed lines arrive in any order without shifting the whole line,
    // and let CanJoin search the items of a line that is still absorbing by
    // x. Each run is less than half the one below it, so there are few.
    // Makes room for an item from xStart to xEnd about to be added at the
    // end, and places it among the runs; Rebalance follows once it is added.
    void PlaceItem(double xStart, double xEnd);
    void Rebalance() const;
    void MergeTopRuns() const;
    void MergeRuns() const;
    bool CollidesWith(const TextItem& a, double baselineDistance) const;

    double baseline_;
    double top_ = -100000.0;
    double bottom_ = 100000.0;
    // The items' texts and styles; lastStyle_ is the newest style, which the
    // next item of the same string shares.
    ItemArena arena_;
    const ItemStyle* lastStyle_ = nullptr;
    mutable std::vector<TextItem> items_;
    // maxEnd_[i]: the greatest xEnd from the start of i's run up to item i.
    mutable std::vector<double> maxEnd_;
    mutable std::vector<std::size_t> runStarts_;
};

}  // namespace tessary
