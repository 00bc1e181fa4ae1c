// Bounds on what a page's content can make text extraction do. Each guards a
// recursion, a stack or the size of what the layout works on, whose extent
// would otherwise come from the file.
#pragma once

#include <cstddef>

namespace tessary {

// Saved states beyond this depth are counted, not kept: "q" and "Q" still
// pair up, but a "Q" deeper than the limit restores nothing.
inline constexpr std::size_t kMaxSavedStates = 1024;

// Form XObjects running inside one another: a form deeper than this is not
// entered. Real documents nest a few levels; each level holds a parser and a
// copy of the state on the call stack.
inline constexpr int kMaxFormDepth = 32;

// Text that lands farther than this from the origin of the page's space, or
// whose characters are taller or wider, is placed nowhere: the largest page
// the PDF standard allows is 14,400 units wide, and distances of this size
// would only spread the layout's columns or stack lines without end.
inline constexpr double kMaxCoordinate = 1e6;

}  // namespace tessary
