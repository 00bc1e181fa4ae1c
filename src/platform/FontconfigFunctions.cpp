#include "platform/FontconfigFunctions.h"

#include "decode/SharedLibrary.h"

namespace tessary {

namespace {

const FontconfigFunctions* Load() {
    const SharedLibrary library(TESSARY_FONTCONFIG_SONAME);
    static FontconfigFunctions functions;
    const bool complete =
        library.Find("FcInitLoadConfigAndFonts", functions.initLoadConfigAndFonts) &&
        library.Find("FcConfigDestroy", functions.configDestroy) &&
        library.Find("FcConfigSubstitute", functions.configSubstitute) &&
        library.Find("FcDefaultSubstitute", functions.defaultSubstitute) &&
        library.Find("FcFontMatch", functions.fontMatch) &&
        library.Find("FcPatternCreate", functions.patternCreate) &&
        library.Find("FcPatternDestroy", functions.patternDestroy) &&
        library.Find("FcPatternAddString", functions.patternAddString) &&
        library.Find("FcPatternAddInteger", functions.patternAddInteger) &&
        library.Find("FcPatternAddBool", functions.patternAddBool) &&
        library.Find("FcPatternGetString", functions.patternGetString) &&
        library.Find("FcPatternGetInteger", functions.patternGetInteger) &&
        library.Find("FcStrCmpIgnoreCase", functions.strCmpIgnoreCase);
    return complete ? &functions : nullptr;
}

}  // namespace

const FontconfigFunctions* GetFontconfig() {
    static const FontconfigFunctions* const functions = Load();
    return functions;
}

}  // namespace tessary
