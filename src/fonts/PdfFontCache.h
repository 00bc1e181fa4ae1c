// The fonts of one document, each loaded once from its font dictionary and
// kept until the document is closed. Held by the document's PdfObjectStore,
// whose GetFont is defined with it.
#pragma once

#include <memory>
#include <string>
#include <unordered_map>

#include "fonts/PdfFont.h"
#include "pdf/PdfObject.h"

namespace tessary {

class PdfFontCache {
  public:
    // The font of the dictionary, loaded on the first request for it. A font
    // dictionary that is an indirect object is known by its object number and
    // generation, so every page that refers to it shares one font. A direct
    // one (written inside a resource dictionary) has no number and is known
    // by its content: two different direct fonts never read as one, and the
    // same direct font met again (its dictionary copied anew on every
    // lookup) is found again.
    PdfFont* GetFont(const PdfDictionary& fontDict);

  private:
    std::unordered_map<std::string, std::unique_ptr<PdfFont>> fonts;
};

}  // namespace tessary
