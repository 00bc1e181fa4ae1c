#include "fonts/PdfFontCache.h"

#include "pdf/Limits.h"
#include "pdf/PdfObjectStore.h"

namespace tessary {

namespace {

void AppendText(std::string& key, char tag, std::string_view text) {
    key += tag;
    key += std::to_string(text.size());
    key += ':';
    key += text;
}

// A text that two direct objects share exactly when they hold the same value:
// every part is tagged by its kind and every text carries its length, so no
// two different values can write the same key.
void AppendContentKey(std::string& key, const PdfObject* obj, int depth) {
    if (!obj) {
        key += '0';
        return;
    }
    if (depth > kMaxNestingDepth) {
        // Deeper than the reader ever builds: the rest reads as one value.
        key += '~';
        return;
    }
    switch (obj->type) {
        case PdfObjectType::Array: {
            const auto& array = static_cast<const PdfArray&>(*obj);
            key += '[';
            for (const ObjectHandle& element : array.elements) {
                AppendContentKey(key, element.get(), depth + 1);
            }
            key += ']';
            break;
        }
        case PdfObjectType::Dictionary: {
            const auto& dict = static_cast<const PdfDictionary&>(*obj);
            key += '<';
            for (const auto& [name, value] : dict.entries) {
                AppendText(key, 'k', name);
                AppendContentKey(key, value.get(), depth + 1);
            }
            key += '>';
            break;
        }
        case PdfObjectType::Stream: {
            const auto& stream = static_cast<const PdfStream&>(*obj);
            key += 's';
            AppendContentKey(key, stream.dictionary.get(), depth + 1);
            AppendText(key, 'd', GetStreamBytes(&stream));
            break;
        }
        case PdfObjectType::Reference: {
            const auto& reference = static_cast<const PdfReference&>(*obj);
            key += 'R';
            key += std::to_string(reference.targetNumber);
            key += '.';
            key += std::to_string(reference.targetGeneration);
            key += ';';
            break;
        }
        default:
            if (const auto* text = dynamic_cast<const PdfTextObject*>(obj)) {
                AppendText(key, static_cast<char>('a' + static_cast<int>(obj->type)), text->text);
            } else {
                key += static_cast<char>('A' + static_cast<int>(obj->type));
            }
            break;
    }
}

std::string CacheKeyOf(const PdfDictionary& fontDict) {
    if (fontDict.IsIndirect()) {
        return std::to_string(fontDict.objectNumber) + "." + std::to_string(fontDict.generation);
    }
    // Starts with a letter, so it never meets a numeric key.
    std::string key = "direct";
    AppendContentKey(key, &fontDict, 0);
    return key;
}

void DestroyFontCache(PdfFontCache* cache) {
    std::default_delete<PdfFontCache>()(cache);
}

}  // namespace

PdfFont* PdfFontCache::GetFont(const PdfDictionary& fontDict) {
    std::unique_ptr<PdfFont>& font = fonts[CacheKeyOf(fontDict)];
    if (!font) {
        font = LoadFont(&fontDict);
    }
    return font.get();
}

PdfFont* PdfObjectStore::GetFont(const PdfDictionary* fontDict) {
    if (!fontDict) {
        return nullptr;
    }
    if (!fontCache) {
        fontCache = FontCacheHandle(new PdfFontCache, &DestroyFontCache);
    }
    return fontCache->GetFont(*fontDict);
}

}  // namespace tessary
