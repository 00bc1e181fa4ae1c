// Fonts for tests, built from dictionaries written as PDF text.
#pragma once

#include <string>
#include <string_view>

#include "fonts/PdfFont.h"
#include "pdf/PdfParser.h"

namespace tessary::test {

inline ObjectHandle ParseObject(std::string_view text) {
    PdfParser parser;
    parser.AttachBuffer(nullptr, text);
    return parser.ReadObject(0, 0);
}

// A direct stream holding data (the memory reader can't read streams).
inline ObjectHandle MakeStream(std::string data) {
    auto stream = MakeObject<PdfStream>();
    static_cast<PdfStream&>(*stream).data = std::move(data);
    return stream;
}

// The font of a dictionary written as text, with the CMap program toUnicode
// as its /ToUnicode stream when one is given.
inline PdfFont LoadFont(std::string_view dictText, std::string_view toUnicode = {}) {
    ObjectHandle dict = ParseObject(dictText);
    auto* dictionary = const_cast<PdfDictionary*>(AsDictionary(dict.get()));
    if (dictionary && !toUnicode.empty()) {
        dictionary->SetValue("/ToUnicode", MakeStream(std::string(toUnicode)));
    }
    PdfFont font;
    font.Load(dictionary);
    return font;
}

}  // namespace tessary::test
