// Decodes arbitrary bytes as LZW data, with early change and without.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "decode/LzwDecoder.h"

namespace {
constexpr std::size_t kFuzzOutputLimit = std::size_t{64} << 20;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    for (const bool earlyChange : {true, false}) {
        if (tessary::LzwDecode(input, kFuzzOutputLimit, earlyChange).size() > kFuzzOutputLimit) {
            __builtin_trap();
        }
    }
    return 0;
}
