// Measuring an installed font by family and style: the widths of the 256
// single-byte codes and the ascent and descent, for TrueType fonts that a
// document names without giving their metrics.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace tessary {

// All measurements are in units of which the font's em holds this many (the
// unit of PDF glyph widths). The request's height is this em height.
inline constexpr int kFontUnitsPerEm = 1000;

// A font by family name and style. The family is the name a document gives
// (bytes; UTF-8, or else read as Windows-1252).
struct FontRequest {
    std::string family;
    bool bold = false;
    bool italic = false;

    bool operator==(const FontRequest&) const = default;
};

struct FontRequestHash {
    std::size_t operator()(const FontRequest& request) const;
};

struct FontMetrics {
    // Advance width of each code 0..255, read as the character it stands for
    // in Windows-1252 (the ANSI character set). The five codes that
    // Windows-1252 leaves undefined stand for the Unicode character of the
    // same number, as on Windows; like the control codes they usually find no
    // glyph and get the width of the font's missing-glyph shape.
    std::array<std::uint16_t, 256> widths{};
    // Height above and depth below the baseline, both positive.
    std::uint16_t ascent = 0;
    std::uint16_t descent = 0;
    // False when no usable font was found at all; the values are then the
    // defaults for a font without metrics (kUnmeasured... in SystemFontMeasurer.h).
    bool measured = false;
    // True when the font measured carries the requested family name; false
    // when the font system substituted another family (Liberation Sans for
    // Arial, or its default font for a family that isn't installed).
    bool exactMatch = false;
    // Family name and file of the font measured, for diagnostics.
    std::string family;
    std::string file;
};

class FontMeasurer {
  public:
    virtual ~FontMeasurer() = default;
    // Never fails: a family that isn't installed is measured in the font that
    // replaces it. Implementations are thread-safe.
    virtual FontMetrics Measure(const FontRequest& request) = 0;
};

// The measurer the rest of the system uses: the installed fonts through
// fontconfig and FreeType, each request measured once per process, unless a
// replacement is set.
FontMeasurer& GetFontMeasurer();

// Makes GetFontMeasurer return measurer (not owned; it must outlive its use),
// or the default again for null. Returns the previous replacement (or null).
// Meant for tests and for a program's start; thread-safe.
FontMeasurer* SetFontMeasurer(FontMeasurer* measurer);

}  // namespace tessary
