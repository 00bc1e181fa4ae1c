// Decodes arbitrary bytes as run-length data, with a small output limit.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "decode/RunLengthDecode.h"

namespace {
constexpr std::size_t kFuzzOutputLimit = std::size_t{1} << 20;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t decoded = tessary::RunLengthDecode(input, kFuzzOutputLimit).size();
    // Two input bytes stand for at most 128 output bytes.
    if (decoded > kFuzzOutputLimit || decoded > 128 * size) {
        __builtin_trap();
    }
    return 0;
}
