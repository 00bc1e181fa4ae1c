// Undoes a predictor on arbitrary bytes. The first four bytes choose the
// predictor, /Colors, /BitsPerComponent and /Columns, out-of-range values
// included; the rest is the data.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "decode/Predictor.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) {
        return 0;
    }
    static constexpr int kPredictors[] = {1, 2, 10, 11, 12, 13, 14, 15, 3, 16};
    static constexpr int kBits[] = {1, 2, 4, 8, 16, 0, 3, 32};
    const tessary::PredictorParams params{kPredictors[data[0] % std::size(kPredictors)],
                                          data[1] % 36 - 1, kBits[data[2] % std::size(kBits)],
                                          data[3] == 255 ? (1 << 24) + 1 : data[3] * 3 - 1};
    const std::string_view input(reinterpret_cast<const char*>(data + 4), size - 4);
    // Undoing a predictor never makes data longer.
    if (tessary::ApplyPredictor(std::string(input), params).size() > input.size()) {
        __builtin_trap();
    }
    return 0;
}
