// Arbitrary bytes as a content stream or CMap: read objects until the data
// ends or a syntax failure ends the reading.
#include <cstdint>
#include <string_view>

#include "pdf/PdfParser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tessary;
    PdfParser parser;
    parser.AttachBuffer(nullptr, std::string_view(reinterpret_cast<const char*>(data), size));
    for (;;) {
        ObjectHandle obj = parser.ReadObject(0, 0);
        if (!obj || obj->type == PdfObjectType::EndOfData)
            break;
        ObjectHandle copy = CloneObject(obj.get());
        (void)GetRealValue(copy.get());
        (void)GetStringValue(ResolveObject(copy.get()).get());
    }
    return 0;
}
