#include "fonts/FontProgram.h"

#include "fonts/FontLimits.h"
#include "platform/FreeTypeHandles.h"

namespace tessary {

namespace {

// The character maps FreeType makes of a Type 1 or CFF program's encoding.
bool IsEncodingVector(const FT_CharMap map) {
    switch (map->encoding) {
        case FT_ENCODING_ADOBE_STANDARD:
        case FT_ENCODING_ADOBE_EXPERT:
        case FT_ENCODING_ADOBE_CUSTOM:
        case FT_ENCODING_ADOBE_LATIN_1:
            return true;
        default:
            return false;
    }
}

FT_CharMap FindCharMap(FT_Face face, int platform, int encoding) {
    for (FT_Int i = 0; i < face->num_charmaps; ++i) {
        if (face->charmaps[i]->platform_id == platform &&
            face->charmaps[i]->encoding_id == encoding) {
            return face->charmaps[i];
        }
    }
    return nullptr;
}

}  // namespace

BuiltInEncoding ReadBuiltInEncoding(std::string_view program, bool symbolic) {
    BuiltInEncoding names;
    FreeTypeLibrary library = OpenFreeTypeLibrary();
    FT_Face rawFace = nullptr;
    if (!library || program.empty() ||
        GetFreeType()->newMemoryFace(library.get(),
                                     reinterpret_cast<const FT_Byte*>(program.data()),
                                     static_cast<FT_Long>(program.size()), 0, &rawFace) != 0) {
        return names;
    }
    FreeTypeFace face(rawFace);
    const FreeTypeFunctions& ft = *GetFreeType();
    if (!FT_HAS_GLYPH_NAMES(face.get())) {
        return names;
    }
    FT_CharMap map = nullptr;
    for (FT_Int i = 0; i < face->num_charmaps && !map; ++i) {
        if (IsEncodingVector(face->charmaps[i])) {
            map = face->charmaps[i];
        }
    }
    const FT_CharMap symbolMap = FindCharMap(face.get(), 3, 0);
    if (!map && symbolic && FT_IS_SFNT(face.get())) {
        map = symbolMap ? symbolMap : FindCharMap(face.get(), 1, 0);
    }
    if (!map || ft.setCharmap(face.get(), map) != 0) {
        return names;
    }
    char name[kMaxGlyphNameBytes];
    for (FT_ULong code = 0; code < names.size(); ++code) {
        FT_UInt glyph = ft.getCharIndex(face.get(), code);
        // A (3,0) map may hold the codes with a high byte of 0xF0, 0xF1 or
        // 0xF2 (ISO 32000-1, 9.6.6.4).
        for (FT_ULong high = 0xF000; glyph == 0 && map == symbolMap && high <= 0xF200;
             high += 0x100) {
            glyph = ft.getCharIndex(face.get(), high + code);
        }
        if (glyph != 0 && ft.getGlyphName(face.get(), glyph, name, sizeof name) == 0) {
            names[code] = name;
        }
    }
    return names;
}

}  // namespace tessary
