// The fourteen standard fonts a PDF may name without embedding them: their default
// metrics and, for Helvetica and Times, the widths of the standard Latin characters.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "fonts/BaseEncoding.h"

namespace tessary {

struct CharWidth {
    std::uint16_t unicode;
    std::uint16_t width;  // in 1/1000 of text space units
};

// Each metrics table holds the same 228 characters, sorted by Unicode (generated).
inline constexpr std::size_t MetricsTableSize = 228;
extern const std::array<CharWidth, MetricsTableSize> HelveticaMetrics;
extern const std::array<CharWidth, MetricsTableSize> HelveticaBoldMetrics;
extern const std::array<CharWidth, MetricsTableSize> TimesRomanMetrics;
extern const std::array<CharWidth, MetricsTableSize> TimesBoldMetrics;
extern const std::array<CharWidth, MetricsTableSize> TimesItalicMetrics;
extern const std::array<CharWidth, MetricsTableSize> TimesBoldItalicMetrics;

struct StandardFont {
    std::string_view name;  // with its slash, compared with the whole /BaseFont text
    std::uint16_t defaultWidth;
    std::uint16_t ascent;
    std::uint16_t descent;  // positive downwards
    BaseEncoding baseEncoding;
    std::span<const CharWidth> metrics;  // empty for fonts without built-in widths
};

inline constexpr std::size_t StandardFontCount = 14;
extern const std::array<StandardFont, StandardFontCount> StandardFontTable;

// The row whose name equals baseFont byte for byte, first row first, or -1.
int FindStandardFont(std::string_view baseFont);

// The width of a character in a metrics table (binary search by Unicode), or none
// when the table lacks it.
std::optional<std::uint16_t> LookupCharWidth(std::span<const CharWidth> metrics,
                                             std::uint16_t unicode);

}  // namespace tessary
