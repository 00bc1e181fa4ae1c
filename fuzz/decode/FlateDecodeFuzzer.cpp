// Inflates arbitrary bytes. A smaller output limit than the default keeps a
// decompression bomb within the fuzzer's memory limit.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "decode/FlateDecode.h"

namespace {
constexpr std::size_t kFuzzOutputLimit = std::size_t{64} << 20;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::string output = tessary::FlateDecode(input, kFuzzOutputLimit);
    if (output.size() > kFuzzOutputLimit) {
        __builtin_trap();
    }
    return 0;
}
