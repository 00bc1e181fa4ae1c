// One piece of shown text on a page: a single character as text showing
// produces it, or a run of characters that the layout joined.
#pragma once

#include <string_view>

namespace tessary {

// What the items of a string share: their font's space and the vertical
// extent of their glyphs. Many items point at one style.
struct ItemStyle {
    double spaceWidth = 0.0;  // width of a space in the item's font; <= 0 means unusable
    double yTop = 0.0;        // baseline plus the scaled ascent
    double yBottom = 0.0;     // baseline minus the scaled descent
};

// Coordinates are in the frame of the text's direction (the page's default
// space, turned so that the text runs left to right), y growing upward.
// Every number held in a line is finite: the line refuses items that aren't.
// The text and the style are held by the line the item belongs to (a page
// may hold hundreds of thousands of items, so each stays small).
struct TextItem {
    double xStart = 0.0;  // x where the item begins
    double xEnd = 0.0;    // x where it ends (may be less than xStart)
    const ItemStyle* style = nullptr;
    std::string_view text;  // bytes in the output code page
};

}  // namespace tessary
