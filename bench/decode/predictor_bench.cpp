// Measures what undoing a predictor adds to Flate decoding: each sample is
// deflated predicted data, decoded by FlateDecode alone and by FlateDecode
// followed by ApplyPredictor. Samples: a cross-reference stream of 200,000
// entries (PNG Up, 5 columns), an RGB image of 1500 x 1500 pixels with PNG
// rows of every filter type, and the same image with the TIFF predictor.
// The best of several rounds of thread CPU time is reported.
#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "BenchTiming.h"
#include "decode/FlateDecode.h"
#include "decode/Predictor.h"

namespace {

using tessary::ApplyPredictor;
using tessary::FlateDecode;
using tessary::PredictorParams;

std::string Deflate(const std::string& data) {
    uLongf size = compressBound(data.size());
    std::string compressed(size, '\0');
    compress2(reinterpret_cast<Bytef*>(compressed.data()), &size,
              reinterpret_cast<const Bytef*>(data.data()), data.size(), Z_DEFAULT_COMPRESSION);
    compressed.resize(size);
    return compressed;
}

int PaethOf(int left, int up, int upLeft) {
    const int estimate = left + up - upLeft;
    const int a = std::abs(estimate - left), b = std::abs(estimate - up),
              c = std::abs(estimate - upLeft);
    return a <= b && a <= c ? left : b <= c ? up : upLeft;
}

// Filters raw rows the way a PNG writer does, row r with filter tag(r).
template <typename Tag>
std::string PngFilter(const std::string& raw, std::size_t rowBytes, std::size_t pixel, Tag tag) {
    std::string out;
    const auto at = [&](std::size_t row, std::size_t i) -> int {
        return static_cast<unsigned char>(raw[row * rowBytes + i]);
    };
    for (std::size_t row = 0; row * rowBytes < raw.size(); ++row) {
        const int kind = tag(row);
        out.push_back(static_cast<char>(kind));
        for (std::size_t i = 0; i < rowBytes; ++i) {
            const int left = i >= pixel ? at(row, i - pixel) : 0;
            const int up = row > 0 ? at(row - 1, i) : 0;
            const int upLeft = row > 0 && i >= pixel ? at(row - 1, i - pixel) : 0;
            const int predicted = kind == 1   ? left
                                  : kind == 2 ? up
                                  : kind == 3 ? (left + up) / 2
                                  : kind == 4 ? PaethOf(left, up, upLeft)
                                              : 0;
            out.push_back(static_cast<char>(at(row, i) - predicted));
        }
    }
    return out;
}

std::string TiffFilter(const std::string& raw, std::size_t rowBytes, std::size_t colors) {
    std::string out = raw;
    for (std::size_t row = 0; row < raw.size(); row += rowBytes) {
        for (std::size_t i = rowBytes; i-- > colors;) {
            out[row + i] = static_cast<char>(raw[row + i] - raw[row + i - colors]);
        }
    }
    return out;
}

void Measure(const char* label, const std::string& predicted, const PredictorParams& params,
             const std::string& raw) {
    const std::string compressed = Deflate(predicted);
    if (ApplyPredictor(FlateDecode(compressed), params) != raw) {
        std::printf("%s: decoded data differs\n", label);
        return;
    }
    std::size_t sink = 0;
    const std::vector<double> seconds = tessary::bench::BestSeconds(
        7, 5,
        {[&] { sink += FlateDecode(compressed).size(); },
         [&] { sink += ApplyPredictor(FlateDecode(compressed), params).size(); }});
    const double megabytes = static_cast<double>(raw.size()) * 5 / 1e6;
    std::printf("%s: %.1f MB decoded, %.1f MB compressed\n", label, raw.size() / 1e6,
                compressed.size() / 1e6);
    std::printf("  Flate alone:           %8.1f MB/s\n", megabytes / seconds[0]);
    std::printf("  Flate and predictor:   %8.1f MB/s\n", megabytes / seconds[1]);
    std::printf("  time ratio:            %8.3f\n", seconds[1] / seconds[0]);
    if (sink == 0) {
        std::printf("nothing decoded\n");
    }
}

}  // namespace

int main() {
    // Cross-reference entries: type 1, a growing 3-byte offset, generation 0.
    std::string xref;
    for (unsigned n = 0, offset = 15; n < 200000; ++n, offset += 40 + n % 97) {
        xref += {'\x01', static_cast<char>(offset >> 16), static_cast<char>(offset >> 8),
                 static_cast<char>(offset), '\0'};
    }
    Measure("cross-reference stream, PNG Up", PngFilter(xref, 5, 1, [](std::size_t) { return 2; }),
            {12, 1, 8, 5}, xref);

    // A smooth RGB picture with some noise.
    constexpr std::size_t kSide = 1500;
    std::string image;
    unsigned seed = 7;
    for (std::size_t y = 0; y < kSide; ++y) {
        for (std::size_t x = 0; x < kSide; ++x) {
            seed = seed * 1103515245 + 12345;
            const unsigned noise = (seed >> 16) % 9;
            image += {static_cast<char>(x / 6 + noise), static_cast<char>(y / 6 + noise),
                      static_cast<char>((x + y) / 12 + noise)};
        }
    }
    Measure(
        "RGB image, PNG rows of all five filters",
        PngFilter(image, 3 * kSide, 3, [](std::size_t row) { return static_cast<int>(row % 5); }),
        {15, 3, 8, static_cast<int>(kSide)}, image);
    Measure("RGB image, TIFF predictor", TiffFilter(image, 3 * kSide, 3),
            {2, 3, 8, static_cast<int>(kSide)}, image);
    return 0;
}
