// Decodes arbitrary bytes as hexadecimal data.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "decode/AsciiHexDecode.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    // One byte per two digits, and one for an odd last digit.
    if (tessary::AsciiHexDecode(input).size() > size / 2 + 1) {
        __builtin_trap();
    }
    return 0;
}
