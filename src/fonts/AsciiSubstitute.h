// Plain-ASCII stand-ins for characters the output code page cannot write.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace tessary {

struct AsciiSubstitute {
    std::uint16_t unicode;
    std::string_view text;
};

inline constexpr std::size_t AsciiSubstituteCount = 168;

// Sorted by Unicode value.
extern const std::array<AsciiSubstitute, AsciiSubstituteCount> AsciiSubstituteTable;

// The ASCII text that stands for a character, or none when the table has no row for it.
std::optional<std::string_view> GetAsciiSubstitute(std::uint16_t unicode);

}  // namespace tessary
