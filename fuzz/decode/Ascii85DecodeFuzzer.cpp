// Decodes arbitrary bytes as ASCII85 data.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "decode/Ascii85Decode.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::string output = tessary::Ascii85Decode(input);
    // Four bytes per input byte at most (a 'z').
    if (output.size() > 4 * size) {
        __builtin_trap();
    }
    return 0;
}
