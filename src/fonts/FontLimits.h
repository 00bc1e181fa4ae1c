// Bounds on what a font dictionary or a CMap can make the font code do. Each
// guards a loop or an allocation whose size would otherwise come from the file.
#pragma once

#include <cstdint>

namespace tessary {

// Character codes are at most two bytes wide: no code above the last one is
// ever looked up, so no table keeps one. This bounds a font's code map to
// 65536 entries, and its widths to the codes from /FirstChar to 0xFFFF.
inline constexpr std::uint32_t kCodeSpaceSize = 0x10000;
inline constexpr std::uint32_t kMaxCharCode = kCodeSpaceSize - 1;

// Mappings that one CMap may make, each code of a bfrange counting as one.
// Four times the whole code space: more than any real CMap needs, even with
// overlapping sections, while a hostile one of many full ranges stops here.
inline constexpr std::uint32_t kMaxCMapMappings = 4 * kCodeSpaceSize;

}  // namespace tessary
