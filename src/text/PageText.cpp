#include "text/PageText.h"

#include <algorithm>
#include <cmath>
#include <string_view>

#include "pdf/PdfObjectStore.h"
#include "platform/SystemCodePage.h"
#include "text/PageTextExtractor.h"
#include "text/ReadingOrder.h"
#include "text/TextLimits.h"

namespace tessary {

namespace {

// The value of an entry that pages inherit from the page tree: the page's own,
// or the nearest one up the /Parent chain.
ObjectHandle FindInherited(const PdfDictionary* page, std::string_view key) {
    // Walked with borrowed objects: parents are shared page tree nodes. A
    // chain that comes back to a node already seen ends without a value.
    std::vector<const PdfObject*> seen;
    const PdfObject* node = page;
    while (node && seen.size() < static_cast<std::size_t>(kMaxParentChain) &&
           std::find(seen.begin(), seen.end(), node) == seen.end()) {
        seen.push_back(node);
        const PdfDictionary& dict = DictionaryOrEmpty(node);
        if (dict.HasKey(key)) {
            return dict.GetValue(key);
        }
        node = ResolveBorrowed(dict.PeekValue("/Parent"));
    }
    return nullptr;
}

// The page's visible rectangle: its crop box, else its media box; when neither
// is an array of four numbers on the page's scale, US Letter, as readers take
// a page without a box.
PageBox FindPageBox(const PdfDictionary* page) {
    for (const char* key : {"/CropBox", "/MediaBox"}) {
        ObjectHandle value = FindInherited(page, key);
        const PdfArray* array = AsArray(value.get());
        if (!array || array->GetCount() != 4) {
            continue;
        }
        const PageBox box{array->GetElementReal(0), array->GetElementReal(1),
                          array->GetElementReal(2), array->GetElementReal(3)};
        auto onScale = [](double v) { return std::fabs(v) <= kMaxCoordinate; };
        if (onScale(box.x0) && onScale(box.y0) && onScale(box.x1) && onScale(box.y1)) {
            return box;
        }
    }
    return {0, 0, 612, 792};
}

}  // namespace

ObjectHandle FindResources(const PdfDictionary* page) {
    return FindInherited(page, "/Resources");
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
    extractor.GetFrames().SetPageBox(FindPageBox(page));

    // The content is decoded for this page alone and let go with it: a
    // document's pages are read once each, and keeping every page's content
    // would hold the whole document in memory.
    std::string buffer;
    if (const std::string* data = ReadStreamData(contents.get(), buffer)) {
        extractor.RunContent(*data);
    } else if (const PdfArray* parts = AsArray(contents.get())) {
        // The streams' bytes are joined with nothing between them, as one
        // content; an element that isn't a readable stream is skipped.
        std::string joined;
        for (std::size_t i = 0; i < parts->GetCount(); ++i) {
            if (const std::string* part = ReadStreamData(parts->PeekElement(i), buffer)) {
                joined += *part;
            }
        }
        buffer = std::string();
        extractor.RunContent(joined);
    }
    extractor.GetFrames().LayOutLines(output,
                                      [&](TextLineList& lines, std::vector<std::string>& out) {
                                          LayOutInOrder(lines, out, width, order);
                                      });
}

void PdfObjectStore::GetPageText(std::vector<std::string>& output, const PdfDictionary* page,
                                 std::int32_t width) {
    ExtractPageText(output, *this, page, width, GetSystemCodePage());
}

}  // namespace tessary
