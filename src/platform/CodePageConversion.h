// Conversion between Unicode and the bytes of a code page: one character at a
// time for the extracted text, whole texts for the viewer.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/CodePage.h"

namespace tessary {

// The bytes of one character in the code page, or absent when the code page
// can't write it exactly.
// - Code page 0 (ASCII): U+0000..U+007F are their own single byte; nothing else.
// - UTF-8: every character but a surrogate, in one to four bytes.
// - Any other: nothing beyond U+FFFF; the rest accepted only when iconv
//   converts it with no substitution (glibc's iconv applies no best-fit or
//   transliteration without "//TRANSLIT", and a conversion it counts as
//   irreversible is refused) and
//   the bytes convert back to exactly this one character. So U+0101 is absent
//   in Windows-1252 although Windows would write it as a plain 'a'. Codes that
//   Windows-1252 leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) have no
//   character here, so U+0081 and its like are absent too.
// Thread-safe. After the first call for a code page (which builds its table
// in a few milliseconds) each call is a table lookup.
std::optional<std::string> EncodeCharacter(const CodePage& codePage, char32_t unicode);

// Turns bytes of the code page into UTF-16 (QString::fromUtf16 takes it as
// is). A byte or sequence that the code page doesn't define becomes U+FFFD,
// as does every byte from 0x80 up in code page 0. Characters beyond the BMP
// (from UTF-8 or GB18030) become surrogate pairs.
std::u16string DecodeText(const CodePage& codePage, std::string_view bytes);

// What to write for a character the code page can't represent; gets the code
// point (a lone surrogate comes as itself).
using CharacterSubstitute = std::function<std::string(char32_t)>;

// Turns UTF-16 text into bytes of the code page, character by character under
// the rule of EncodeCharacter (in UTF-8, surrogate pairs become four-byte
// sequences). A character that can't be written becomes what substitute
// returns, or a single '?' without one: pass the same substitution the
// extracted text uses to save edited text the way the page was written.
std::string EncodeText(const CodePage& codePage, std::u16string_view text,
                       const CharacterSubstitute& substitute = {});

}  // namespace tessary
