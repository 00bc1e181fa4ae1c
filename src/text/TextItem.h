// One piece of shown text on a page: a single character as text showing
// produces it, or a run of characters that the layout joined.
#pragma once

#include <string>

namespace tessary {

// Coordinates are in the frame of the text's direction (the page's default
// space, turned so that the text runs left to right), y growing upward.
// Every number held in a line is finite: the line refuses items that aren't.
struct TextItem {
    std::string text;         // bytes in the output code page
    double xStart = 0.0;      // x where the item begins
    double xEnd = 0.0;        // x where it ends (may be less than xStart)
    double spaceWidth = 0.0;  // width of a space in this item's font; <= 0 means unusable
    double yTop = 0.0;        // baseline plus the scaled ascent
    double yBottom = 0.0;     // baseline minus the scaled descent
};

}  // namespace tessary
