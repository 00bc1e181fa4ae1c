#include "text/PageText.h"

#include <algorithm>

#include "pdf/PdfObjectStore.h"
#include "platform/SystemCodePage.h"
#include "text/PageTextExtractor.h"
#include "text/ReadingOrder.h"

namespace tessary {

ObjectHandle FindResources(const PdfDictionary* page) {
    // Walked with borrowed objects: parents are shared page tree nodes. A
    // chain that comes back to a node already seen ends without resources.
    std::vector<const PdfObject*> seen;
    const PdfObject* node = page;
    while (node && seen.size() < static_cast<std::size_t>(kMaxParentChain) &&
           std::find(seen.begin(), seen.end(), node) == seen.end()) {
        seen.push_back(node);
        const PdfDictionary& dict = DictionaryOrEmpty(node);
        if (dict.HasKey("/Resources")) {
            return dict.GetValue("/Resources");
        }
        node = ResolveBorrowed(dict.PeekValue("/Parent"));
    }
    return nullptr;
}

void ExtractPageText(std::vector<std::string>& output, PdfObjectStore& store,
                     const PdfDictionary* page, std::int32_t width, const CodePage& codePage,
                     TextOrder order) {
    output.clear();
    if (!page) {
        return;
    }
    ObjectHandle contents = page->GetValue("/Contents");
    if (!contents) {
        return;
    }
    ObjectHandle resources = FindResources(page);
    PageTextExtractor extractor(store, codePage);
    extractor.LoadPageFonts(AsDictionary(resources.get()));

    if (const std::string* data = GetStreamData(contents.get())) {
        extractor.RunContent(*data);
    } else if (const PdfArray* parts = AsArray(contents.get())) {
        // The streams' bytes are joined with nothing between them, as one
        // content; an element that isn't a readable stream is skipped.
        std::string joined;
        std::size_t total = 0;
        for (std::size_t i = 0; i < parts->GetCount(); ++i) {
            if (const std::string* part = GetStreamData(parts->PeekElement(i))) {
                total += part->size();
            }
        }
        joined.reserve(total);
        for (std::size_t i = 0; i < parts->GetCount(); ++i) {
            if (const std::string* part = GetStreamData(parts->PeekElement(i))) {
                joined += *part;
            }
        }
        extractor.RunContent(joined);
    }
    LayOutInOrder(extractor.GetLines(), output, width, order);
}

void PdfObjectStore::GetPageText(std::vector<std::string>& output, const PdfDictionary* page,
                                 std::int32_t width) {
    ExtractPageText(output, *this, page, width, GetSystemCodePage());
}

}  // namespace tessary
