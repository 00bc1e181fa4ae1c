// The directions a page's text runs in, each read in a frame of its own: the
// page's default space turned (and for mirrored text reflected) so that text
// of that direction runs left to right and upright. Every frame collects its
// characters into its own lines in frame coordinates; the layout reads the
// frame with the most characters first, then the others, so a page drawn
// turned reads as the upright page would, and a rotated caption or margin note
// follows the main text instead of scrambling it.
#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "text/Matrix.h"
#include "text/TextLineList.h"

namespace tessary {

// Where text of a direction points: its x axis at `eighths` times 45 degrees
// counterclockwise from the page's x axis, the nearest such angle; mirrored
// when its y axis lies clockwise of its x axis.
struct TextDirection {
    int eighths = 0;  // 0 to 7
    bool mirrored = false;

    bool operator==(const TextDirection&) const = default;
    bool IsUpright() const { return eighths == 0 && !mirrored; }

    // The direction of text whose x axis (in the page's space) is xAxis and
    // whose axes span an area of the given sign. A zero axis counts as upright.
    static TextDirection Of(Point xAxis, double determinant);
};

// The rectangle of the page that shows, in the page's default space.
struct PageBox {
    double x0 = 0.0;
    double y0 = 0.0;
    double x1 = 0.0;
    double y1 = 0.0;
};

class TextFrame {
  public:
    TextFrame(TextDirection direction, const std::optional<PageBox>& box);

    TextDirection GetDirection() const { return direction_; }
    // From the page's default space into the frame's: the turn (and
    // reflection) that makes this direction's text upright, then the shift
    // that brings the turned page box's lower left corner back onto the box's
    // own, so the text lands where it would on the same page drawn upright.
    // The upright frame is the identity.
    const Matrix& GetPageToFrame() const { return pageToFrame_; }

    TextLineList& GetLines() { return lines_; }
    const TextLineList& GetLines() const { return lines_; }
    std::size_t GetCharacterCount() const { return characters_; }
    void CountCharacter() { ++characters_; }

  private:
    TextDirection direction_;
    Matrix pageToFrame_;
    TextLineList lines_;
    std::size_t characters_ = 0;
};

class TextFrameList {
  public:
    // The box that frames other than the upright one are turned within;
    // without one they are turned about the origin.
    void SetPageBox(const PageBox& box) { box_ = box; }

    // The frame of a direction, made on first use. It stays at its address
    // (and its lines at theirs) while the list lives.
    TextFrame& GetFrame(TextDirection direction);

    // The frames that received characters, the one with the most first; equal
    // counts keep the order in which the frames were first used.
    std::vector<const TextFrame*> GetFramesInOrder() const;
    std::vector<TextFrame*> GetFramesInOrder();

    // Lays out every frame's lines for width columns in that order, one blank
    // line between two frames, and appends them to output (which it doesn't
    // clear). A page whose text is all upright is laid out as its one list of
    // lines would be. Runs once per page, as TextLineList::LayOutLines.
    void LayOutLines(std::vector<std::string>& output, int width);
    std::vector<std::string> LayOutLines(int width);
    // The same with each frame's lines laid out (appended to output) by layOut.
    using FrameLayout = std::function<void(TextLineList&, std::vector<std::string>&)>;
    void LayOutLines(std::vector<std::string>& output, const FrameLayout& layOut);

  private:
    std::optional<PageBox> box_;
    std::deque<TextFrame> frames_;  // in the order they were made
};

}  // namespace tessary
