#include "text/TextLineList.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <tuple>
#include <utility>

namespace tessary {

void LayoutScale::Include(const TextExtent& extent) {
    if (extent.start < minX) {
        minX = extent.start;
    }
    if (extent.end > maxX) {
        maxX = extent.end;
    }
}

TextLine* TextLineList::AddItem(TextLine* currentLine, double baseline, double xStart, double xEnd,
                                double yTop, double yBottom, double spaceWidth,
                                std::string_view text) {
    if (text == " ") {
        return nullptr;
    }
    if (!std::isfinite(baseline) || !std::isfinite(xStart) || !std::isfinite(xEnd) ||
        !std::isfinite(yTop) || !std::isfinite(yBottom) || !std::isfinite(spaceWidth)) {
        return nullptr;
    }
    TextLine* line = currentLine;
    if (line == nullptr) {
        auto it = lines_.lower_bound(baseline);
        if (it != lines_.end() && it->first == baseline) {
            line = &it->second;
        } else {
            line = &lines_
                        .emplace_hint(it, std::piecewise_construct, std::forward_as_tuple(baseline),
                                      std::forward_as_tuple(baseline))
                        ->second;
        }
    }
    line->InsertItem(xStart, xEnd, yTop, yBottom, spaceWidth, text);
    return line;
}

LayoutScale TextLineList::MeasureScale() const {
    LayoutScale scale;
    for (const auto& [baseline, line] : lines_) {
        if (std::optional<TextExtent> extent = line.GetTextExtent()) {
            scale.Include(*extent);
        }
    }
    return scale;
}

void TextLineList::LayOutLines(std::vector<std::string>& output, int width) {
    LayOutLines(output, width, MeasureScale());
}

void TextLineList::LayOutLines(std::vector<std::string>& output, int width,
                               const LayoutScale& scale) {
    // The first joining of characters into runs.
    for (auto& [baseline, line] : lines_) {
        line.JoinItems();
    }

    // Joining lines: each line that belongs to the one above is absorbed by
    // it, and the next line is compared with the same, grown line.
    if (!lines_.empty()) {
        auto above = lines_.begin();
        for (auto it = std::next(above); it != lines_.end();) {
            if (it->second.CanJoin(above->second)) {
                above->second.Absorb(std::move(it->second));
                it = lines_.erase(it);
            } else {
                above = it++;
            }
        }
    }

    // Runs brought together by joined lines may join now.
    for (auto& [baseline, line] : lines_) {
        line.JoinItems();
    }

    double minX = scale.minX;
    double range = scale.maxX - scale.minX;
    int columns = std::min(width, kMaxLineWidth);
    double prevHeight = -1.0;
    double prevBaseline = -1.0;
    for (auto& [baseline, line] : lines_) {
        if (prevHeight >= 0.0) {
            double gap = prevBaseline - line.GetBaseline();
            if (gap >= 1.5 * line.GetHeight() || gap >= 1.5 * prevHeight) {
                output.emplace_back();
            }
        }
        prevHeight = line.GetHeight();
        prevBaseline = line.GetBaseline();
        output.push_back(line.RenderLine(minX, range, columns));
    }
}

std::vector<std::string> TextLineList::LayOutLines(int width) {
    std::vector<std::string> output;
    LayOutLines(output, width);
    return output;
}

std::vector<const TextLine*> TextLineList::GetLines() const {
    std::vector<const TextLine*> lines;
    lines.reserve(lines_.size());
    for (const auto& [baseline, line] : lines_) {
        lines.push_back(&line);
    }
    return lines;
}

}  // namespace tessary
