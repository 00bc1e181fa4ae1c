#include "ReferenceLayout.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

#include "text/TextLine.h"

namespace tessary::reference {

namespace {

bool Finite(std::initializer_list<double> values) {
    return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

// Spans that only touch don't intersect.
bool Intersect(double lo1, double hi1, double lo2, double hi2, double& length) {
    length = std::min(hi1, hi2) - std::max(lo1, lo2);
    return lo1 < hi2 && lo2 < hi1;
}

void Insert(Line& line, const Item& item) {
    line.top = std::max(line.top, item.yTop);
    line.bottom = std::min(line.bottom, item.yBottom);
    line.items.insert(std::find_if(line.items.begin(), line.items.end(),
                                   [&](const Item& i) { return i.xStart > item.xStart; }),
                      item);
}

void JoinItems(Line& line) {
    for (std::size_t i = 0; i + 1 < line.items.size();) {
        Item& cur = line.items[i];
        const Item& next = line.items[i + 1];
        double gap = next.xStart - cur.xEnd;
        double sw = cur.spaceWidth != 0 ? cur.spaceWidth : next.spaceWidth;
        if (sw > 0 && gap < 2 * sw) {
            cur.xEnd = next.xEnd;
            cur.spaceWidth = sw;
            cur.text += (gap > 0.5 * sw ? " " : "") + next.text;
            line.items.erase(line.items.begin() + static_cast<long>(i) + 1);
        } else {
            ++i;
        }
    }
}

bool CanJoin(const Line& line, const Line& above) {
    double ov = 0;
    if (!Intersect(line.bottom, line.top, above.bottom, above.top, ov) ||
        (ov < 0.5 * line.Height() && ov < 0.5 * above.Height())) {
        return false;
    }
    double d = std::fabs(line.baseline - above.baseline);
    for (const Item& a : line.items) {
        for (const Item& b : above.items) {
            double w = 0;
            if (Intersect(a.xStart, a.xEnd, b.xStart, b.xEnd, w) &&
                (w >= 0.5 * a.spaceWidth || w >= 0.5 * b.spaceWidth) &&
                (d >= 0.5 * (a.yTop - a.yBottom) || d >= 0.5 * (b.yTop - b.yBottom))) {
                return false;
            }
        }
    }
    return true;
}

std::string RenderLine(Line& line, double minX, double range, int width) {
    std::string s;
    long long last = -1;
    for (Item& item : line.items) {
        // The next free column when the computed one is taken, lies beyond
        // the widest layout or isn't finite.
        double q = std::trunc((item.xStart - minX) * width / range);
        long long col = std::isfinite(q) && q > static_cast<double>(last) && q <= kMaxLineWidth
                            ? static_cast<long long>(q)
                            : last + 1;
        s.append(static_cast<std::size_t>(col) - s.size(), ' ');
        item.text.erase(item.text.find_last_not_of(" \t\n\v\f\r") + 1);
        s += item.text + ' ';
        last = col + static_cast<long long>(item.text.size());
    }
    return s;
}

}  // namespace

Line* LineList::AddItem(Line* line, double baseline, double xStart, double xEnd, double yTop,
                        double yBottom, double spaceWidth, std::string_view text) {
    if (text == " " || !Finite({baseline, xStart, xEnd, yTop, yBottom, spaceWidth}))
        return nullptr;
    if (line == nullptr) {
        auto at = lines.begin();
        while (at != lines.end() && (*at)->baseline > baseline)
            ++at;
        if (at == lines.end() || (*at)->baseline != baseline)
            at = lines.insert(at, std::make_unique<Line>(baseline));
        line = at->get();
    }
    Insert(*line, Item{std::string(text), xStart, xEnd, spaceWidth, yTop, yBottom});
    return line;
}

void LineList::LayOutLines(std::vector<std::string>& output, int width) {
    // The page extent runs from the first to the last item of each line whose
    // text isn't exactly " ".
    double minX = 1000000.0;
    double maxX = 0.0;
    auto isText = [](const Item& item) { return item.text != " "; };
    for (auto& line : lines) {
        auto first = std::find_if(line->items.begin(), line->items.end(), isText);
        if (first != line->items.end()) {
            minX = std::min(minX, first->xStart);
            maxX = std::max(maxX,
                            std::find_if(line->items.rbegin(), line->items.rend(), isText)->xEnd);
        }
        JoinItems(*line);
    }
    for (std::size_t i = 1; i < lines.size();) {
        if (CanJoin(*lines[i], *lines[i - 1])) {
            for (const Item& item : lines[i]->items)
                Insert(*lines[i - 1], item);
            lines.erase(lines.begin() + static_cast<long>(i));
        } else {
            ++i;
        }
    }
    // A line after one of negative height counts as the first.
    double prevHeight = -1.0;
    double prevBaseline = 0.0;
    for (auto& line : lines) {
        JoinItems(*line);
        double gap = prevBaseline - line->baseline;
        if (prevHeight >= 0 && (gap >= 1.5 * line->Height() || gap >= 1.5 * prevHeight))
            output.emplace_back();
        prevHeight = line->Height();
        prevBaseline = line->baseline;
        output.push_back(RenderLine(*line, minX, maxX - minX, std::min(width, kMaxLineWidth)));
    }
}

}  // namespace tessary::reference
