#include "platform/SystemFontMeasurer.h"

#include <algorithm>
#include <memory>
#include <mutex>
#include <optional>

#include "platform/CodePage.h"
#include "platform/CodePageConversion.h"
#include "platform/FontconfigFunctions.h"
#include "platform/FreeTypeHandles.h"

namespace tessary {

namespace {

// Windows-1252 is the ANSI character set a measuring request names.
constexpr std::int32_t kAnsiCodePage = 1252;
// The private-use block where a symbol font's character map holds its codes.
constexpr char32_t kSymbolFontBase = 0xF000;

struct ConfigDeleter {
    void operator()(FcConfig* config) const { GetFontconfig()->configDestroy(config); }
};

struct PatternDeleter {
    void operator()(FcPattern* pattern) const { GetFontconfig()->patternDestroy(pattern); }
};
using PatternPointer = std::unique_ptr<FcPattern, PatternDeleter>;

struct FontChoice {
    std::string file;
    int index = 0;
    std::string family;
    bool exactMatch = false;
};

// The character each code 0..255 stands for in Windows-1252; the codes it
// leaves undefined stand for themselves, as Windows has them.
const std::array<char32_t, 256>& GetAnsiCharacters() {
    static const std::array<char32_t, 256> characters = [] {
        std::array<char32_t, 256> result{};
        std::optional<CodePage> ansi = CodePage::FromNumber(kAnsiCodePage);
        for (std::size_t code = 0; code < result.size(); ++code) {
            result[code] = static_cast<char32_t>(code);
            if (ansi) {
                std::u16string text = DecodeText(*ansi, std::string(1, static_cast<char>(code)));
                if (text.size() == 1 && text[0] != 0xFFFD) {
                    result[code] = text[0];
                }
            }
        }
        return result;
    }();
    return characters;
}

// The family as fontconfig wants it: UTF-8, no zero byte, bounded in length.
// A name that isn't UTF-8 is read as Windows-1252, as Windows reads a face
// name given in the ANSI character set.
std::string GetFamilyForFontconfig(const std::string& family) {
    std::string name = family.substr(0, family.find('\0'));
    CodePage utf8 = CodePage::Utf8();
    if (EncodeText(utf8, DecodeText(utf8, name)) != name) {
        std::optional<CodePage> ansi = CodePage::FromNumber(kAnsiCodePage);
        name = EncodeText(utf8, DecodeText(ansi.value_or(CodePage::Ascii()), name));
    }
    if (name.size() > kMaxFontFamilyLength) {
        std::size_t end = kMaxFontFamilyLength;
        while (end > 0 && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80) {
            --end;
        }
        name.resize(end);
    }
    return name;
}

std::optional<FontChoice> ChooseFont(const std::string& family, bool bold, bool italic) {
    // A configuration of our own, loaded on first use and released at exit,
    // rather than fontconfig's process-wide default: that one can only be
    // released by FcFini, which would pull it from under other users of
    // fontconfig in the process (the GUI toolkit), and left alone it reads as
    // a leak to the leak checker. One lock serialises all use of it.
    const FontconfigFunctions* fc = GetFontconfig();
    if (!fc) {
        return std::nullopt;
    }
    static std::mutex fontconfigMutex;
    std::lock_guard lock(fontconfigMutex);
    static const std::unique_ptr<FcConfig, ConfigDeleter> config(fc->initLoadConfigAndFonts());
    if (!config) {
        return std::nullopt;
    }

    PatternPointer pattern(fc->patternCreate());
    if (!pattern) {
        return std::nullopt;
    }
    if (!family.empty()) {
        fc->patternAddString(pattern.get(), FC_FAMILY,
                             reinterpret_cast<const FcChar8*>(family.c_str()));
    }
    fc->patternAddInteger(pattern.get(), FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    fc->patternAddInteger(pattern.get(), FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    fc->patternAddBool(pattern.get(), FC_SCALABLE, FcTrue);
    fc->configSubstitute(config.get(), pattern.get(), FcMatchPattern);
    fc->defaultSubstitute(pattern.get());

    FcResult result = FcResultNoMatch;
    PatternPointer match(fc->fontMatch(config.get(), pattern.get(), &result));
    FcChar8* file = nullptr;
    if (!match || fc->patternGetString(match.get(), FC_FILE, 0, &file) != FcResultMatch) {
        return std::nullopt;
    }
    FontChoice choice;
    choice.file = reinterpret_cast<const char*>(file);
    fc->patternGetInteger(match.get(), FC_INDEX, 0, &choice.index);
    FcChar8* matchedFamily = nullptr;
    // A font may carry several family names (localised ones among them).
    for (int i = 0;
         fc->patternGetString(match.get(), FC_FAMILY, i, &matchedFamily) == FcResultMatch; ++i) {
        if (i == 0) {
            choice.family = reinterpret_cast<const char*>(matchedFamily);
        }
        if (!family.empty() && fc->strCmpIgnoreCase(matchedFamily, reinterpret_cast<const FcChar8*>(
                                                                       family.c_str())) == 0) {
            choice.exactMatch = true;
        }
    }
    return choice;
}

std::uint16_t ScaleToEm(std::int64_t designUnits, std::int64_t unitsPerEm) {
    if (designUnits <= 0) {
        return 0;
    }
    std::int64_t scaled = (designUnits * kFontUnitsPerEm + unitsPerEm / 2) / unitsPerEm;
    return static_cast<std::uint16_t>(std::min<std::int64_t>(scaled, 0xFFFF));
}

std::optional<FontMetrics> MeasureFace(const FontChoice& choice) {
    FreeTypeLibrary library = OpenFreeTypeLibrary();
    FT_Face rawFace = nullptr;
    if (!library ||
        GetFreeType()->newFace(library.get(), choice.file.c_str(), choice.index, &rawFace) != 0) {
        return std::nullopt;
    }
    FreeTypeFace face(rawFace);
    const FreeTypeFunctions& ft = *GetFreeType();
    const std::int64_t unitsPerEm = face->units_per_EM;
    if (!FT_IS_SCALABLE(face.get()) || unitsPerEm == 0) {
        return std::nullopt;
    }

    bool symbolFont = false;
    if (ft.selectCharmap(face.get(), FT_ENCODING_UNICODE) != 0) {
        symbolFont = ft.selectCharmap(face.get(), FT_ENCODING_MS_SYMBOL) == 0;
    }

    FontMetrics metrics;
    const std::array<char32_t, 256>& ansi = GetAnsiCharacters();
    for (std::size_t code = 0; code < metrics.widths.size(); ++code) {
        char32_t character =
            symbolFont ? kSymbolFontBase + static_cast<char32_t>(code) : ansi[code];
        // Glyph 0, the missing-glyph shape, answers for a character the font lacks.
        FT_UInt glyph = ft.getCharIndex(face.get(), character);
        FT_Fixed advance = 0;
        if (ft.getAdvance(face.get(), glyph, FT_LOAD_NO_SCALE, &advance) != 0) {
            advance = 0;
        }
        metrics.widths[code] = ScaleToEm(advance, unitsPerEm);
    }

    const auto* os2 = static_cast<const TT_OS2*>(ft.getSfntTable(face.get(), FT_SFNT_OS2));
    if (os2 != nullptr && os2->version != 0xFFFF) {
        metrics.ascent = ScaleToEm(os2->usWinAscent, unitsPerEm);
        metrics.descent = ScaleToEm(os2->usWinDescent, unitsPerEm);
    } else {
        metrics.ascent = ScaleToEm(face->ascender, unitsPerEm);
        metrics.descent = ScaleToEm(-static_cast<std::int64_t>(face->descender), unitsPerEm);
    }
    metrics.measured = true;
    metrics.exactMatch = choice.exactMatch;
    metrics.family = choice.family;
    metrics.file = choice.file;
    return metrics;
}

FontMetrics GetUnmeasuredMetrics() {
    FontMetrics metrics;
    metrics.widths.fill(kUnmeasuredWidth);
    metrics.ascent = kUnmeasuredAscent;
    metrics.descent = kUnmeasuredDescent;
    return metrics;
}

}  // namespace

FontMetrics SystemFontMeasurer::Measure(const FontRequest& request) {
    std::optional<FontChoice> choice =
        ChooseFont(GetFamilyForFontconfig(request.family), request.bold, request.italic);
    if (!choice) {
        return GetUnmeasuredMetrics();
    }
    std::optional<FontMetrics> metrics = MeasureFace(*choice);
    return metrics ? std::move(*metrics) : GetUnmeasuredMetrics();
}

}  // namespace tessary
