#include "pdf/PdfObjectStore.h"

#include <algorithm>

#include "pdf/Limits.h"
#include "pdf/PageTree.h"
#include "pdf/PdfDocument.h"

namespace tessary {

PdfObjectStore::PdfObjectStore(PdfDocument* owner) : document(owner) {}

PdfObjectStore::~PdfObjectStore() {
    // The page index holds handles to cached objects: it goes first.
    pageTree.reset();
    trailer.reset();
    objects.clear();
    fontCache.reset();
}

void PdfObjectStore::SetTrailer(std::unique_ptr<PdfDictionary, ObjectReleaser> newTrailer) {
    trailer = std::move(newTrailer);
}

ObjectHandle PdfObjectStore::GetObject(std::int32_t objectNumber, std::int32_t generation) {
    // -1 is the number of direct objects: no indirect object can have it.
    if (objectNumber == -1) {
        return nullptr;
    }
    const std::uint64_t key = CacheKey(objectNumber, generation);
    if (auto found = objects.find(key); found != objects.end()) {
        return ObjectHandle(found->second.get());
    }
    if (!document || loading.size() >= static_cast<std::size_t>(kMaxNestedLoads) ||
        std::find(loading.begin(), loading.end(), key) != loading.end()) {
        return nullptr;
    }
    loading.push_back(key);
    std::unique_ptr<PdfObject> loaded = document->LoadObject(objectNumber, generation);
    loading.pop_back();
    if (!loaded) {
        return nullptr;
    }
    PdfObject* shared = loaded.get();
    objects.emplace(key, std::move(loaded));
    return ObjectHandle(shared);
}

ObjectHandle PdfObjectStore::GetCatalog() {
    if (!trailer) {
        return nullptr;
    }
    return trailer->GetValue("/Root");
}

const PdfObject* PdfObjectStore::GetPageTreeRoot() {
    if (!trailer) {
        return nullptr;
    }
    // The catalog and the root node are looked at in place, not copied: the
    // page index keys its tables by these objects, which live as long as the
    // store (shared objects, or values inside the trailer or the catalog).
    const PdfObject* catalog = ResolveBorrowed(trailer->PeekValue("/Root"));
    const PdfObject* root = ResolveBorrowed(DictionaryOrEmpty(catalog).PeekValue("/Pages"));
    if (root && !pageTree) {
        pageTree = std::make_unique<PageTreeIndex>();
    }
    return root;
}

ObjectHandle PdfObjectStore::GetPage(std::int32_t index) {
    const PdfObject* root = GetPageTreeRoot();
    return root ? pageTree->FindPage(root, index) : nullptr;
}

std::int64_t PdfObjectStore::GetPageIndexLimit() {
    const PdfObject* root = GetPageTreeRoot();
    return root ? pageTree->GetIndexLimit(root) : 0;
}

}  // namespace tessary
