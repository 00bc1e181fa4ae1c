// Owning handles of FreeType objects, so that every library and face is
// released on every path.
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H

#include <memory>

namespace tessary {

struct FreeTypeLibraryDeleter {
    void operator()(FT_Library library) const { FT_Done_FreeType(library); }
};
using FreeTypeLibrary = std::unique_ptr<FT_LibraryRec_, FreeTypeLibraryDeleter>;

struct FreeTypeFaceDeleter {
    void operator()(FT_Face face) const { FT_Done_Face(face); }
};
using FreeTypeFace = std::unique_ptr<FT_FaceRec_, FreeTypeFaceDeleter>;

// A library of its own for the caller (FreeType objects are not to be shared
// between threads); null when FreeType can't start.
inline FreeTypeLibrary OpenFreeTypeLibrary() {
    FT_Library library = nullptr;
    return FreeTypeLibrary(FT_Init_FreeType(&library) == 0 ? library : nullptr);
}

}  // namespace tessary
