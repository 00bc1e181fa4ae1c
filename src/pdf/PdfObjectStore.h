// The object space of an open document: the cache of loaded indirect objects
// (each read from the file once and shared from then on), the newest trailer,
// and the caches that the font and page code keep per document.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "pdf/PdfObject.h"

namespace tessary {

class PdfDocument;
class PdfFont;
class PdfFontCache;
class PageTreeIndex;

class PdfObjectStore {
  public:
    explicit PdfObjectStore(PdfDocument* owner);
    ~PdfObjectStore();
    PdfObjectStore(const PdfObjectStore&) = delete;
    PdfObjectStore& operator=(const PdfObjectStore&) = delete;

    // The shared indirect object, loaded on first request; absent when it
    // cannot be read (nothing is cached then, so a later request tries again).
    ObjectHandle GetObject(std::int32_t objectNumber, std::int32_t generation);

    const PdfDictionary* GetTrailer() const { return trailer.get(); }
    void SetTrailer(std::unique_ptr<PdfDictionary, ObjectReleaser> newTrailer);
    PdfDocument* GetDocument() const { return document; }

    // The catalog named by the trailer's /Root, or absent.
    ObjectHandle GetCatalog();
    // The page with that zero-based index, or absent.
    ObjectHandle GetPage(std::int32_t index);
    // An index from which on GetPage finds no page (0 without a page tree).
    std::int64_t GetPageIndexLimit();

    // The cached font of a font dictionary, loaded on first request; absent for
    // an absent dictionary. Owned by the store. (Defined with the font code.)
    PdfFont* GetFont(const PdfDictionary* fontDict);

    // The page's text lines at `width` characters, in the output code page.
    // (Defined with the page text code.)
    void GetPageText(std::vector<std::string>& output, const PdfDictionary* page,
                     std::int32_t width);

    // Per-document state of the font code, which this layer doesn't look inside.
    using FontCacheHandle = std::unique_ptr<PdfFontCache, void (*)(PdfFontCache*)>;
    FontCacheHandle fontCache{nullptr, nullptr};

  private:
    const PdfObject* GetPageTreeRoot();
    static std::uint64_t CacheKey(std::int32_t objectNumber, std::int32_t generation) {
        return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(objectNumber)) << 32) |
               static_cast<std::uint32_t>(generation);
    }

    PdfDocument* document;
    std::unique_ptr<PdfDictionary, ObjectReleaser> trailer;
    std::unordered_map<std::uint64_t, std::unique_ptr<PdfObject>> objects;
    // Objects being loaded right now, innermost last: an object whose reading
    // needs itself (a stream whose /Length is its own reference) reads as absent.
    std::vector<std::uint64_t> loading;
    std::unique_ptr<PageTreeIndex> pageTree;
};

}  // namespace tessary
