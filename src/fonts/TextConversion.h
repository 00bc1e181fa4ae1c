// Turning one character of a page into the bytes of the extracted text.
#pragma once

#include <string>
#include <string_view>

#include "platform/CodePage.h"

namespace tessary {

// The bytes that stand for a character in the output code page:
// 1. for the ligatures U+FB00 to U+FB06, their letters ("ff", "fi", "fl",
//    "ffi", "ffl", "st", "st") in every code page: they exist in Unicode only
//    for old encodings, and text is read, searched and copied as letters;
// 2. the character's own bytes, when the code page writes it exactly (no
//    substitution, and the bytes read back as the same one character); a
//    multi-byte code page such as UTF-8 gives several bytes for one
//    character. Code page 0 writes exactly the characters below U+0080, each
//    as its single byte;
// 3. else its ASCII substitute ("e" for U+00E9, "--" for U+2014);
// 4. else fallback.
// U+0000 gives a single zero byte in every code page that writes it so, code
// page 0 included; whoever writes the text out takes it as no characters.
std::string ConvertToText(char32_t unicode, const CodePage& codePage, std::string_view fallback);

}  // namespace tessary
