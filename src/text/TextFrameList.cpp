#include "text/TextFrameList.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tessary {

namespace {

// Cosine and sine of each multiple of 45 degrees, exact where they can be, so
// that text turned by right angles lands on exactly the coordinates of the
// same text drawn upright.
constexpr double kHalfRoot2 = std::numbers::sqrt2 / 2;
constexpr double kCosines[8] = {1, kHalfRoot2, 0, -kHalfRoot2, -1, -kHalfRoot2, 0, kHalfRoot2};
constexpr double kSines[8] = {0, kHalfRoot2, 1, kHalfRoot2, 0, -kHalfRoot2, -1, -kHalfRoot2};

Matrix TurnUpright(TextDirection direction) {
    // Turned back by the direction's angle; a mirrored direction's text then
    // has its y axis pointing down, which the reflection turns up again.
    const double cosine = kCosines[direction.eighths];
    const double sine = kSines[direction.eighths];
    Matrix turn{cosine, -sine, sine, cosine, 0, 0};
    if (direction.mirrored) {
        turn.b = -turn.b;
        turn.d = -turn.d;
    }
    return turn;
}

template <typename Frame, typename Frames>
std::vector<Frame*> FramesInOrder(Frames& frames) {
    std::vector<Frame*> order;
    for (Frame& frame : frames) {
        if (frame.GetCharacterCount() > 0) {
            order.push_back(&frame);
        }
    }
    std::stable_sort(order.begin(), order.end(), [](const Frame* a, const Frame* b) {
        return a->GetCharacterCount() > b->GetCharacterCount();
    });
    return order;
}

}  // namespace

TextDirection TextDirection::Of(Point xAxis, double determinant) {
    // Axis-parallel text, nearly all text, is known without the arc tangent.
    if (xAxis.y == 0 && xAxis.x >= 0) {
        return {0, determinant < 0};
    }
    const double eighths = std::atan2(xAxis.y, xAxis.x) / (std::numbers::pi / 4);
    // atan2 lies in [-pi, pi]: the rounded value is -4 to 4.
    const long rounded = std::isfinite(eighths) ? std::lround(eighths) : 0;
    return {static_cast<int>((rounded + 8) % 8), determinant < 0};
}

TextFrame::TextFrame(TextDirection direction, const std::optional<PageBox>& box)
    : direction_(direction) {
    if (direction.IsUpright()) {
        return;
    }
    pageToFrame_ = TurnUpright(direction);
    if (box) {
        const Point corners[4] = {
            {box->x0, box->y0}, {box->x1, box->y0}, {box->x0, box->y1}, {box->x1, box->y1}};
        Point low = pageToFrame_.Apply(corners[0]);
        for (const Point& corner : corners) {
            const Point turned = pageToFrame_.Apply(corner);
            low = {std::min(low.x, turned.x), std::min(low.y, turned.y)};
        }
        pageToFrame_.e = std::min(box->x0, box->x1) - low.x;
        pageToFrame_.f = std::min(box->y0, box->y1) - low.y;
    }
}

TextFrame& TextFrameList::GetFrame(TextDirection direction) {
    for (TextFrame& frame : frames_) {
        if (frame.GetDirection() == direction) {
            return frame;
        }
    }
    return frames_.emplace_back(direction, box_);
}

std::vector<TextFrame*> TextFrameList::GetFramesInOrder() {
    return FramesInOrder<TextFrame>(frames_);
}

std::vector<const TextFrame*> TextFrameList::GetFramesInOrder() const {
    return FramesInOrder<const TextFrame>(frames_);
}

void TextFrameList::LayOutLines(std::vector<std::string>& output, const FrameLayout& layOut) {
    bool first = true;
    for (TextFrame* frame : GetFramesInOrder()) {
        if (!first) {
            output.emplace_back();
        }
        first = false;
        layOut(frame->GetLines(), output);
    }
}

void TextFrameList::LayOutLines(std::vector<std::string>& output, int width) {
    LayOutLines(output, [width](TextLineList& lines, std::vector<std::string>& out) {
        lines.LayOutLines(out, width);
    });
}

std::vector<std::string> TextFrameList::LayOutLines(int width) {
    std::vector<std::string> output;
    LayOutLines(output, width);
    return output;
}

}  // namespace tessary
