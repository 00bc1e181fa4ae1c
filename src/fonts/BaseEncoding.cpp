#include "fonts/BaseEncoding.h"

namespace tessary {

std::uint16_t GetBaseEncodingUnicode(BaseEncoding encoding, std::uint32_t code) {
    const std::array<std::uint16_t, 256>* table = nullptr;
    switch (encoding) {
        case BaseEncoding::WinAnsi:
            table = &WinAnsiEncodingTable;
            break;
        case BaseEncoding::MacRoman:
            table = &MacRomanEncodingTable;
            break;
        case BaseEncoding::MacExpert:
            table = &MacExpertEncodingTable;
            break;
        case BaseEncoding::Standard:
            table = &StandardEncodingTable;
            break;
        case BaseEncoding::NoEncoding:
            break;
    }
    if (table == nullptr || code >= table->size()) {
        return 0;
    }
    return (*table)[code];
}

}  // namespace tessary
