// The FreeType functions the program calls, from the library opened on first
// use (only files whose fonts need measuring or an embedded program read need
// it), and owning handles of FreeType objects, so that every library and face
// is released on every path.
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_ADVANCES_H
#include FT_TRUETYPE_TABLES_H

#include <memory>

namespace tessary {

struct FreeTypeFunctions {
    decltype(&FT_Init_FreeType) initFreeType = nullptr;
    decltype(&FT_Done_FreeType) doneFreeType = nullptr;
    decltype(&FT_New_Face) newFace = nullptr;
    decltype(&FT_New_Memory_Face) newMemoryFace = nullptr;
    decltype(&FT_Done_Face) doneFace = nullptr;
    decltype(&FT_Set_Charmap) setCharmap = nullptr;
    decltype(&FT_Select_Charmap) selectCharmap = nullptr;
    decltype(&FT_Get_Char_Index) getCharIndex = nullptr;
    decltype(&FT_Get_Glyph_Name) getGlyphName = nullptr;
    decltype(&FT_Get_Advance) getAdvance = nullptr;
    decltype(&FT_Get_Sfnt_Table) getSfntTable = nullptr;
};

// The functions, loaded once (thread-safe); absent when the library or one of
// them can't be found, which callers treat as FreeType failing to start.
const FreeTypeFunctions* GetFreeType();

struct FreeTypeLibraryDeleter {
    void operator()(FT_Library library) const { GetFreeType()->doneFreeType(library); }
};
using FreeTypeLibrary = std::unique_ptr<FT_LibraryRec_, FreeTypeLibraryDeleter>;

struct FreeTypeFaceDeleter {
    void operator()(FT_Face face) const { GetFreeType()->doneFace(face); }
};
using FreeTypeFace = std::unique_ptr<FT_FaceRec_, FreeTypeFaceDeleter>;

// A library of its own for the caller (FreeType objects are not to be shared
// between threads); null when FreeType can't start.
inline FreeTypeLibrary OpenFreeTypeLibrary() {
    const FreeTypeFunctions* freeType = GetFreeType();
    FT_Library library = nullptr;
    return FreeTypeLibrary(freeType && freeType->initFreeType(&library) == 0 ? library : nullptr);
}

}  // namespace tessary
