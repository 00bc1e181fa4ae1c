// Bounds on what a font dictionary, a CMap or a font program can make the font
// code do. Each guards a loop or an allocation whose size would otherwise come
// from the file.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tessary {

// A simple font's codes are single bytes; its /Differences and /Widths are
// kept for codes up to 0xFFFF, which bounds its code map to 65536 entries and
// its widths to the codes from /FirstChar to 0xFFFF.
inline constexpr std::uint32_t kCodeSpaceSize = 0x10000;
inline constexpr std::uint32_t kMaxCharCode = kCodeSpaceSize - 1;

// A composite font's codes are one to four bytes long: a codespace range
// longer than that is not a range (ISO 32000-1, 9.7.6.2).
inline constexpr std::size_t kMaxCodeBytes = 4;

// Mappings that one CMap may make: each code of a bfrange counts as one (it
// becomes its own entry), each cidchar and cidrange as one (kept as a range).
// Four times a two-byte code space: more than any real CMap needs, even with
// overlapping sections, while a hostile one of many full ranges stops here.
inline constexpr std::uint32_t kMaxCMapMappings = 4 * kCodeSpaceSize;

// Characters that the destinations of one CMap may hold in all: the mapping
// bound with two characters (a ligature) each. A bfrange copies its
// destination for every code, so this, not the data size, bounds the memory.
inline constexpr std::uint32_t kMaxCMapCharacters = 2 * kMaxCMapMappings;

// Bytes of one bfchar or bfrange destination that are read: the limit ISO
// 32000-1 (9.10.3) sets for a destination string.
inline constexpr std::size_t kMaxDestinationBytes = 512;

// Codespace ranges that one CMap may declare: every shown code is matched
// against them, and Adobe's own CMaps declare at most a handful.
inline constexpr std::size_t kMaxCodespaceRanges = 64;

// CIDs are at most 65535 (ISO 32000-1, Annex C): a font's widths, and a
// collection's table of characters, hold no CID beyond.
inline constexpr std::uint32_t kMaxCid = 0xFFFF;

// Widths that one /W array may set, a "cfirst clast w" entry counting as
// one: four times every CID, more than any font gives, while a hostile array
// stops here.
inline constexpr std::uint32_t kMaxCidWidths = 4 * (kMaxCid + 1);

// /UseCMap links followed from one CMap: Adobe's CMaps use at most one; a
// chain that comes back to a CMap already on it ends there as well.
inline constexpr int kMaxUseCMapDepth = 8;

// Size of a predefined CMap or collection file that is read: ten times the
// largest file the CMap data package installs.
inline constexpr std::size_t kMaxCMapFileBytes = 4 * 1024 * 1024;

// Bytes of a glyph name read from a font program, its zero included: the
// longest name a PostScript font may give a glyph is 127 characters.
inline constexpr std::size_t kMaxGlyphNameBytes = 128;

}  // namespace tessary
