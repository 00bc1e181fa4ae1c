#include "text/TextLine.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <iterator>

namespace tessary {

namespace {

// Items a line makes room for when it receives its first.
constexpr std::size_t kFirstItemCapacity = 16;

bool ByXStart(const TextItem& a, const TextItem& b) {
    return a.xStart < b.xStart;
}

bool IsTrailingSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Two items write over each other, and their baselines are too far apart
// for that to be one line printed with an offset.
bool ItemsCollide(const TextItem& a, const TextItem& b, double baselineDistance) {
    std::optional<double> w = IntersectSpans(a.xStart, a.xEnd, b.xStart, b.xEnd);
    if (!w || !(*w >= 0.5 * a.style->spaceWidth || *w >= 0.5 * b.style->spaceWidth)) {
        return false;
    }
    return baselineDistance >= 0.5 * (a.style->yTop - a.style->yBottom) ||
           baselineDistance >= 0.5 * (b.style->yTop - b.style->yBottom);
}

// Equal to the last bit: a style is shared only by items that would read
// the same numbers from their own.
bool SameNumber(double a, double b) {
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

}  // namespace

std::optional<double> IntersectSpans(double lo1, double hi1, double lo2, double hi2) {
    if (!(lo1 < hi2 && lo2 < hi1)) {
        return std::nullopt;
    }
    return std::min(hi1, hi2) - std::max(lo1, lo2);
}

ItemJoin JoinAfter(double runEnd, double runSpaceWidth, const TextItem& next) {
    double gap = next.xStart - runEnd;
    double sw = runSpaceWidth != 0.0 ? runSpaceWidth : next.style->spaceWidth;
    if (!(sw > 0.0 && gap < 2.0 * sw)) {
        return {};
    }
    return ItemJoin{true, gap > 0.5 * sw, sw};
}

const std::vector<TextItem>& TextLine::GetItems() const {
    MergeRuns();
    return items_;
}

void TextLine::InsertItem(double xStart, double xEnd, double yTop, double yBottom,
                          double spaceWidth, std::string_view text) {
    if (!std::isfinite(xStart) || !std::isfinite(xEnd) || !std::isfinite(yTop) ||
        !std::isfinite(yBottom) || !std::isfinite(spaceWidth)) {
        return;
    }
    if (yTop > top_) {
        top_ = yTop;
    }
    if (yBottom < bottom_) {
        bottom_ = yBottom;
    }
    PlaceItem(xStart, xEnd);
    if (!lastStyle_ || !SameNumber(lastStyle_->spaceWidth, spaceWidth) ||
        !SameNumber(lastStyle_->yTop, yTop) || !SameNumber(lastStyle_->yBottom, yBottom)) {
        lastStyle_ = arena_.AddStyle(ItemStyle{spaceWidth, yTop, yBottom});
    }
    items_.push_back(TextItem{xStart, xEnd, lastStyle_, arena_.CopyText(text)});
    Rebalance();
}

void TextLine::ReserveItems(std::size_t count) {
    items_.reserve(items_.size() + count);
    maxEnd_.reserve(maxEnd_.size() + count);
}

void TextLine::PlaceItem(double xStart, double xEnd) {
    if (items_.size() == items_.capacity()) {
        // Lines mostly take tens of characters: start there rather than
        // growing through 1, 2, 4 and 8 items. Beyond, grow by half: a page
        // whose lines take tens of thousands of characters leaves less room
        // unused, and moving the small items costs little.
        ReserveItems(std::max<std::size_t>(items_.size() / 2, kFirstItemCapacity));
    }
    if (items_.empty() || xStart < items_.back().xStart) {
        runStarts_.push_back(items_.size());
        maxEnd_.push_back(xEnd);
    } else {
        maxEnd_.push_back(std::max(maxEnd_.back(), xEnd));
    }
}

void TextLine::Rebalance() const {
    while (runStarts_.size() >= 2) {
        std::size_t top = runStarts_.back();
        std::size_t below = runStarts_[runStarts_.size() - 2];
        if (top - below > 2 * (items_.size() - top)) {
            break;
        }
        MergeTopRuns();
    }
}

void TextLine::MergeTopRuns() const {
    std::size_t top = runStarts_.back();
    std::size_t below = runStarts_[runStarts_.size() - 2];
    runStarts_.pop_back();
    auto first = items_.begin();
    // Stable: on equal xStart the older run's items stay in front, as if the
    // newer ones had been inserted one by one after them.
    std::inplace_merge(first + below, first + top, items_.end(), ByXStart);
    double maxEnd = items_[below].xEnd;
    for (std::size_t i = below; i < items_.size(); ++i) {
        maxEnd = std::max(maxEnd, items_[i].xEnd);
        maxEnd_[i] = maxEnd;
    }
}

void TextLine::MergeRuns() const {
    while (runStarts_.size() > 1) {
        MergeTopRuns();
    }
}

std::optional<TextExtent> TextLine::GetTextExtent() const {
    MergeRuns();
    auto isText = [](const TextItem& item) { return item.text != " "; };
    auto first = std::find_if(items_.begin(), items_.end(), isText);
    if (first == items_.end()) {
        return std::nullopt;
    }
    auto last = std::find_if(items_.rbegin(), items_.rend(), isText);
    return TextExtent{first->xStart, last->xEnd};
}

void TextLine::JoinItems() {
    MergeRuns();
    if (items_.empty()) {
        return;
    }
    // One pass that keeps the grown item at `cur` and moves each item that
    // stays apart down behind it: the same joins as comparing the grown item
    // with its new neighbour after every join, without shifting the tail.
    // A grown item's text is built in `joined` and stored once it is whole.
    std::size_t cur = 0;
    std::string joined;
    bool grown = false;
    auto storeJoined = [&] {
        if (grown) {
            items_[cur].text = arena_.CopyText(joined);
            grown = false;
        }
    };
    for (std::size_t i = 1; i < items_.size(); ++i) {
        TextItem& run = items_[cur];
        const TextItem& next = items_[i];
        ItemJoin join = JoinAfter(run.xEnd, run.style->spaceWidth, next);
        if (join.joins) {
            if (!grown) {
                joined.assign(run.text);
                grown = true;
            }
            run.xEnd = next.xEnd;
            if (!SameNumber(join.spaceWidth, run.style->spaceWidth)) {
                run.style = arena_.AddStyle(
                    ItemStyle{join.spaceWidth, run.style->yTop, run.style->yBottom});
            }
            if (join.spaced) {
                joined += ' ';
            }
            joined += next.text;
        } else {
            storeJoined();
            if (++cur != i) {
                items_[cur] = next;
            }
        }
    }
    storeJoined();
    items_.resize(cur + 1);
    maxEnd_.resize(items_.size());
    double maxEnd = items_[0].xEnd;
    for (std::size_t i = 0; i < items_.size(); ++i) {
        maxEnd = std::max(maxEnd, items_[i].xEnd);
        maxEnd_[i] = maxEnd;
    }
    runStarts_.assign(1, 0);
}

bool TextLine::CanJoin(const TextLine& above) const {
    std::optional<double> ov = IntersectSpans(bottom_, top_, above.bottom_, above.top_);
    if (!ov) {
        return false;
    }
    if (*ov < 0.5 * GetHeight() && *ov < 0.5 * above.GetHeight()) {
        return false;
    }
    double d = std::fabs(baseline_ - above.baseline_);
    for (const TextItem& a : items_) {
        if (above.CollidesWith(a, d)) {
            return false;
        }
    }
    return true;
}

bool TextLine::CollidesWith(const TextItem& a, double baselineDistance) const {
    // Only items that overlap a in x can collide with it: those that start
    // before a ends (a prefix of each run) and end after a starts (found
    // walking back while the run's running maximum of xEnd still allows one).
    for (std::size_t r = 0; r < runStarts_.size(); ++r) {
        std::size_t begin = runStarts_[r];
        std::size_t end = r + 1 < runStarts_.size() ? runStarts_[r + 1] : items_.size();
        auto startsBefore =
            std::partition_point(items_.begin() + begin, items_.begin() + end,
                                 [&](const TextItem& b) { return b.xStart < a.xEnd; });
        for (std::size_t j = startsBefore - items_.begin(); j > begin;) {
            --j;
            if (!(maxEnd_[j] > a.xStart)) {
                break;
            }
            if (items_[j].xEnd > a.xStart && ItemsCollide(a, items_[j], baselineDistance)) {
                return true;
            }
        }
    }
    return false;
}

void TextLine::Absorb(TextLine&& other) {
    if (&other == this || other.items_.empty()) {
        return;
    }
    other.MergeRuns();
    for (const TextItem& item : other.items_) {
        if (item.style->yTop > top_) {
            top_ = item.style->yTop;
        }
        if (item.style->yBottom < bottom_) {
            bottom_ = item.style->yBottom;
        }
    }
    arena_.TakeOver(std::move(other.arena_));
    other.lastStyle_ = nullptr;
    // other's items, in its order, form one sorted run: inserting them one
    // by one would put each after every item with an equal or smaller xStart,
    // which is what the stable merge of the runs gives.
    std::size_t start = items_.size();
    bool extendsTopRun = start > 0 && other.items_.front().xStart >= items_.back().xStart;
    double maxEnd = extendsTopRun ? maxEnd_.back() : other.items_.front().xEnd;
    if (!extendsTopRun) {
        runStarts_.push_back(start);
    }
    items_.insert(items_.end(), other.items_.begin(), other.items_.end());
    for (std::size_t i = start; i < items_.size(); ++i) {
        maxEnd = std::max(maxEnd, items_[i].xEnd);
        maxEnd_.push_back(maxEnd);
    }
    other.items_.clear();
    other.maxEnd_.clear();
    other.runStarts_.clear();
    Rebalance();
}

std::string TextLine::RenderLine(double minX, double range, int width) {
    MergeRuns();
    std::string s;
    long long last = -1;
    for (TextItem& item : items_) {
        double q = ((item.xStart - minX) * width) / range;
        long long col = last + 1;
        // A quotient that isn't finite, or lies beyond the widest layout,
        // counts as lower than every column; so does any of -1 or below.
        if (std::isfinite(q) && q > -1.0 && q < kMaxLineWidth + 1.0) {
            col = std::max(col, static_cast<long long>(q));
        }
        s.append(static_cast<std::size_t>(col - (last + 1)), ' ');
        std::size_t keep = item.text.size();
        while (keep > 0 && IsTrailingSpace(item.text[keep - 1])) {
            --keep;
        }
        item.text = item.text.substr(0, keep);
        s += item.text;
        s += ' ';
        last = col + static_cast<long long>(keep);
    }
    return s;
}

}  // namespace tessary
