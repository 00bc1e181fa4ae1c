#include "platform/FreeTypeHandles.h"

#include "decode/SharedLibrary.h"

namespace tessary {

namespace {

const FreeTypeFunctions* Load() {
    const SharedLibrary library(TESSARY_FREETYPE_SONAME);
    static FreeTypeFunctions functions;
    const bool complete = library.Find("FT_Init_FreeType", functions.initFreeType) &&
                          library.Find("FT_Done_FreeType", functions.doneFreeType) &&
                          library.Find("FT_New_Face", functions.newFace) &&
                          library.Find("FT_New_Memory_Face", functions.newMemoryFace) &&
                          library.Find("FT_Done_Face", functions.doneFace) &&
                          library.Find("FT_Set_Charmap", functions.setCharmap) &&
                          library.Find("FT_Select_Charmap", functions.selectCharmap) &&
                          library.Find("FT_Get_Char_Index", functions.getCharIndex) &&
                          library.Find("FT_Get_Glyph_Name", functions.getGlyphName) &&
                          library.Find("FT_Get_Advance", functions.getAdvance) &&
                          library.Find("FT_Get_Sfnt_Table", functions.getSfntTable);
    return complete ? &functions : nullptr;
}

}  // namespace

const FreeTypeFunctions* GetFreeType() {
    static const FreeTypeFunctions* const functions = Load();
    return functions;
}

}  // namespace tessary
