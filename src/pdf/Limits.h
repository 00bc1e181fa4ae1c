// Bounds on what a file can make the document layer do. Each guards a
// recursion, a loop or an allocation whose size would otherwise come from the
// file.
#pragma once

#include <cstdint>

namespace tessary {

// Arrays and dictionaries nested deeper than this are a syntax failure.
inline constexpr int kMaxNestingDepth = 256;

// Hops a chain of references may take before it reads as absent (a chain that
// comes back to an object already on it ends at once).
inline constexpr int kMaxReferenceChain = 32;

// Indirect objects whose loading may be nested (a stream's /Length loaded
// while the stream is read, and so on).
inline constexpr int kMaxNestedLoads = 32;

// Levels of the page tree below the root that a page lookup descends.
inline constexpr int kMaxPageTreeDepth = 256;

}  // namespace tessary
