// Arbitrary bytes as a PDF file: open it (repairing it when its
// cross-reference data can't be read), then walk every page and read the
// bytes of its contents and of its fonts' /ToUnicode streams, which decrypts
// and decodes them.
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <string>

#include "pdf/PdfDocument.h"
#include "pdf/PdfObjectStore.h"

namespace {

// Answers the first password prompt, then cancels.
int Callback(void* userData, int kind, std::string& argument) {
    auto* asked = static_cast<int*>(userData);
    if (kind != tessary::kAskPassword || (*asked)++ > 0)
        return 0;
    argument = "user";
    return 1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const int fd = memfd_create("fuzz-pdf", 0);
    if (fd < 0 || ftruncate(fd, 0) != 0 ||
        pwrite(fd, data, size, 0) != static_cast<ssize_t>(size)) {
        return 0;
    }
    using namespace tessary;
    PdfDocument document;
    int asked = 0;
    if (!document.Open("/proc/self/fd/" + std::to_string(fd), false, &Callback, &asked)) {
        return 0;
    }
    PdfObjectStore& store = *document.GetStore();
    ObjectHandle catalog = store.GetCatalog();
    ObjectHandle root = DictionaryOrEmpty(catalog.get()).GetValue("/Pages");
    const std::int32_t count =
        std::min(DictionaryOrEmpty(root.get()).GetValueInteger("/Count"), 200);
    for (std::int32_t i = -1; i <= count; ++i) {
        ObjectHandle page = store.GetPage(i);
        const PdfDictionary& dict = DictionaryOrEmpty(page.get());
        ObjectHandle contents = dict.GetValue("/Contents");
        std::size_t bytes = 0;
        if (const std::string* content = GetStreamData(contents.get())) {
            bytes += content->size();
        } else if (const PdfArray* parts = AsArray(contents.get())) {
            for (std::size_t k = 0; k < std::min<std::size_t>(parts->GetCount(), 16); ++k) {
                const std::string* part = GetStreamData(parts->PeekElement(k));
                bytes += part ? part->size() : 0;
            }
        }
        ObjectHandle resources = dict.GetValue("/Resources");
        ObjectHandle fonts = DictionaryOrEmpty(resources.get()).GetValue("/Font");
        const PdfDictionary& fontDict = DictionaryOrEmpty(fonts.get());
        for (auto entry = fontDict.GetStartPosition(); !fontDict.AtEnd(entry);) {
            std::string name;
            ObjectHandle font = fontDict.GetNextEntry(entry, name);
            const std::string* cmap =
                GetStreamData(DictionaryOrEmpty(font.get()).PeekValue("/ToUnicode"));
            bytes += cmap ? cmap->size() : 0;
        }
        (void)bytes;
    }
    return 0;
}
