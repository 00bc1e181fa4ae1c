// Bounds on what a file can make the document layer do. Each guards a
// recursion, a loop or an allocation whose size would otherwise come from the
// file.
#pragma once

#include <cstddef>
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

// Cross-reference sections read along the /Prev and /XRefStm chain: far more
// incremental updates than any editor writes, few enough that every lookup,
// which may visit each section, stays cheap.
inline constexpr int kMaxXrefSections = 4096;

// Decoded object streams kept at once, and the bytes they may hold together
// (the newest is always kept): enough for a page's objects to come from a
// handful of streams without decoding any twice in a row.
inline constexpr std::size_t kMaxCachedObjectStreams = 8;
inline constexpr std::size_t kMaxCachedObjectStreamBytes = std::size_t{64} * 1024 * 1024;

// Decoded bytes of streams read for reuse (forms that page after page draws
// again, each kept from its second use) that a document keeps in all: the
// logos and footers that repeat are decoded twice at most, while figures
// drawn once don't stay in memory; past it each use decodes again.
inline constexpr std::size_t kMaxKeptStreamBytes = std::size_t{1} * 1024 * 1024;

// Bytes before "obj" that a repair scan looks back over for the object number
// and generation ("2147483647 65535 obj" takes 20; the rest allows generous
// white space between them).
inline constexpr int kMaxObjectHeaderLookBack = 64;

}  // namespace tessary
