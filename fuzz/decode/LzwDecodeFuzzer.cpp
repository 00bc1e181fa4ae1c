// Decodes arbitrary bytes as LZW data.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "decode/LzwDecoder.h"

namespace {
constexpr std::size_t kFuzzOutputLimit = std::size_t{64} << 20;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::string output = tessary::LzwDecode(input, kFuzzOutputLimit);
    if (output.size() > kFuzzOutputLimit) {
        __builtin_trap();
    }
    return 0;
}
