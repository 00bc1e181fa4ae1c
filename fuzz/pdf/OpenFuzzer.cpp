// Arbitrary bytes as a PDF file: open it, then walk every page and read its
// contents and resources.
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
        ObjectHandle resources = dict.GetValue("/Resources");
        (void)GetStringValue(contents.get());
        (void)DictionaryOrEmpty(resources.get()).GetValueInteger("/Font");
    }
    return 0;
}
