// The fontconfig functions that font measuring calls, from the library
// opened on first use: only a file with a font that is neither embedded nor
// one of the standard fonts needs it.
#pragma once

#include <fontconfig/fontconfig.h>

namespace tessary {

struct FontconfigFunctions {
    decltype(&FcInitLoadConfigAndFonts) initLoadConfigAndFonts = nullptr;
    decltype(&FcConfigDestroy) configDestroy = nullptr;
    decltype(&FcConfigSubstitute) configSubstitute = nullptr;
    decltype(&FcDefaultSubstitute) defaultSubstitute = nullptr;
    decltype(&FcFontMatch) fontMatch = nullptr;
    decltype(&FcPatternCreate) patternCreate = nullptr;
    decltype(&FcPatternDestroy) patternDestroy = nullptr;
    decltype(&FcPatternAddString) patternAddString = nullptr;
    decltype(&FcPatternAddInteger) patternAddInteger = nullptr;
    decltype(&FcPatternAddBool) patternAddBool = nullptr;
    decltype(&FcPatternGetString) patternGetString = nullptr;
    decltype(&FcPatternGetInteger) patternGetInteger = nullptr;
    decltype(&FcStrCmpIgnoreCase) strCmpIgnoreCase = nullptr;
};

// The functions, loaded once (thread-safe); absent when the library or one of
// them can't be found, which callers treat as no font being found.
const FontconfigFunctions* GetFontconfig();

}  // namespace tessary
