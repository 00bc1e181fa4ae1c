#include "ReferenceLayout.h"

#include <climits>
#include <cmath>

#include "text/TextLine.h"

namespace tessary::reference {

namespace {

bool Intersect(double lo1, double hi1, double lo2, double hi2, double& length) {
    if (lo1 < hi2 && lo2 < hi1) {
        double lo = lo1 > lo2 ? lo1 : lo2;
        double hi = hi1 < hi2 ? hi1 : hi2;
        length = hi - lo;
        return true;
    }
    return false;
}

bool Finite(double v) {
    return !std::isnan(v) && !std::isinf(v);
}

}  // namespace

void Line::InsertItem(double xStart, double xEnd, double yTop, double yBottom, double spaceWidth,
                      std::string_view text) {
    if (!Finite(xStart) || !Finite(xEnd) || !Finite(yTop) || !Finite(yBottom) ||
        !Finite(spaceWidth)) {
        return;
    }
    if (yTop > top) {
        top = yTop;
    }
    if (yBottom < bottom) {
        bottom = yBottom;
    }
    std::size_t i = 0;
    while (i < items.size() && !(items[i].xStart > xStart)) {
        ++i;
    }
    items.insert(items.begin() + static_cast<long>(i),
                 Item{std::string(text), xStart, xEnd, spaceWidth, yTop, yBottom});
}

bool Line::GetTextExtent(double& start, double& end) const {
    bool found = false;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i].text != " ") {
            start = items[i].xStart;
            found = true;
            break;
        }
    }
    if (!found) {
        return false;
    }
    for (std::size_t i = items.size(); i-- > 0;) {
        if (items[i].text != " ") {
            end = items[i].xEnd;
            break;
        }
    }
    return true;
}

void Line::JoinItems() {
    std::size_t i = 0;
    while (i + 1 < items.size()) {
        Item& cur = items[i];
        Item& next = items[i + 1];
        double gap = next.xStart - cur.xEnd;
        double sw = cur.spaceWidth;
        if (sw == 0) {
            sw = next.spaceWidth;
        }
        if (sw > 0 && gap < 2 * sw) {
            cur.xEnd = next.xEnd;
            cur.spaceWidth = sw;
            if (gap > 0.5 * sw) {
                cur.text += " ";
            }
            cur.text += next.text;
            items.erase(items.begin() + static_cast<long>(i) + 1);
        } else {
            ++i;
        }
    }
}

bool Line::CanJoin(const Line& above) const {
    double ov = 0;
    if (!Intersect(bottom, top, above.bottom, above.top, ov)) {
        return false;
    }
    if (ov < 0.5 * Height() && ov < 0.5 * above.Height()) {
        return false;
    }
    double d = baseline - above.baseline;
    if (d < 0) {
        d = -d;
    }
    for (const Item& a : items) {
        for (const Item& b : above.items) {
            double w = 0;
            if (Intersect(a.xStart, a.xEnd, b.xStart, b.xEnd, w) &&
                (w >= 0.5 * a.spaceWidth || w >= 0.5 * b.spaceWidth)) {
                if (d >= 0.5 * (a.yTop - a.yBottom) || d >= 0.5 * (b.yTop - b.yBottom)) {
                    return false;
                }
            }
        }
    }
    return true;
}

void Line::Absorb(const Line& other) {
    for (const Item& item : other.items) {
        InsertItem(item.xStart, item.xEnd, item.yTop, item.yBottom, item.spaceWidth, item.text);
    }
}

std::string Line::RenderLine(double minX, double range, int width) {
    std::string s;
    long long last = -1;
    for (Item& item : items) {
        double q = ((item.xStart - minX) * width) / range;
        // The integer range of a column ends at the widest layout.
        long long col = LLONG_MIN;
        if (Finite(q) && std::trunc(q) >= INT_MIN && std::trunc(q) <= kMaxLineWidth) {
            col = static_cast<long long>(std::trunc(q));
        }
        if (!(col > last)) {
            col = last + 1;
        }
        s.append(static_cast<std::size_t>(col) - s.size(), ' ');
        while (!item.text.empty()) {
            char c = item.text.back();
            if (c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r') {
                item.text.pop_back();
            } else {
                break;
            }
        }
        s += item.text;
        s += ' ';
        last = col + static_cast<long long>(item.text.size());
    }
    return s;
}

Line* LineList::AddItem(Line* currentLine, double baseline, double xStart, double xEnd, double yTop,
                        double yBottom, double spaceWidth, std::string_view text) {
    if (text == " ") {
        return nullptr;
    }
    if (!Finite(baseline) || !Finite(xStart) || !Finite(xEnd) || !Finite(yTop) ||
        !Finite(yBottom) || !Finite(spaceWidth)) {
        return nullptr;
    }
    Line* line = currentLine;
    if (line == nullptr) {
        std::size_t i = 0;
        for (; i < lines.size(); ++i) {
            if (lines[i]->baseline == baseline) {
                line = lines[i].get();
                break;
            }
            if (lines[i]->baseline < baseline) {
                break;
            }
        }
        if (line == nullptr) {
            line =
                lines
                    .insert(lines.begin() + static_cast<long>(i), std::make_unique<Line>(baseline))
                    ->get();
        }
    }
    line->InsertItem(xStart, xEnd, yTop, yBottom, spaceWidth, text);
    return line;
}

void LineList::LayOutLines(std::vector<std::string>& output, int width) {
    double minX = 1000000.0;
    double maxX = 0.0;
    for (auto& line : lines) {
        double s = 0;
        double e = 0;
        if (line->GetTextExtent(s, e)) {
            if (s < minX) {
                minX = s;
            }
            if (e > maxX) {
                maxX = e;
            }
        }
        line->JoinItems();
    }
    std::size_t i = 1;
    while (i < lines.size()) {
        if (lines[i]->CanJoin(*lines[i - 1])) {
            lines[i - 1]->Absorb(*lines[i]);
            lines.erase(lines.begin() + static_cast<long>(i));
        } else {
            ++i;
        }
    }
    for (auto& line : lines) {
        line->JoinItems();
    }
    if (width > kMaxLineWidth) {
        width = kMaxLineWidth;
    }
    double range = maxX - minX;
    double prevHeight = -1.0;
    double prevBaseline = -1.0;
    for (auto& line : lines) {
        if (prevHeight >= 0) {
            double gap = prevBaseline - line->baseline;
            if (gap >= 1.5 * line->Height() || gap >= 1.5 * prevHeight) {
                output.push_back("");
            }
        }
        prevHeight = line->Height();
        prevBaseline = line->baseline;
        output.push_back(line->RenderLine(minX, range, width));
    }
}

}  // namespace tessary::reference
