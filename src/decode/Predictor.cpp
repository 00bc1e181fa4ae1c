#include "decode/Predictor.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "decode/DecodeLimits.h"

namespace tessary {

namespace {

constexpr int kTiffPredictor = 2;
constexpr int kFirstPngPredictor = 10;
constexpr int kLastPngPredictor = 15;

// The PNG filter types, one tag byte in front of each row.
constexpr std::uint8_t kNone = 0;
constexpr std::uint8_t kSub = 1;
constexpr std::uint8_t kUp = 2;
constexpr std::uint8_t kAverage = 3;
constexpr std::uint8_t kPaeth = 4;

bool ValidParams(const PredictorParams& params) {
    const int bits = params.bitsPerComponent;
    return params.colors >= 1 && params.colors <= kMaxPredictorColors &&
           (bits == 1 || bits == 2 || bits == 4 || bits == 8 || bits == 16) &&
           params.columns >= 1 && params.columns <= kMaxPredictorColumns;
}

std::uint8_t Paeth(int left, int up, int upLeft) {
    const int estimate = left + up - upLeft;
    const int toLeft = std::abs(estimate - left);
    const int toUp = std::abs(estimate - up);
    const int toUpLeft = std::abs(estimate - upLeft);
    if (toLeft <= toUp && toLeft <= toUpLeft) {
        return static_cast<std::uint8_t>(left);
    }
    return static_cast<std::uint8_t>(toUp <= toUpLeft ? up : upLeft);
}

// Rows of rowBytes bytes after one tag byte each; filters work on whole bytes,
// comparing a byte with the one a whole sample (pixelBytes) before it. Above
// the first row (no prior row) Up reads as None and Paeth as Sub, as zeros
// above make them. Decoded rows are written over the data from its start:
// every write lands before the bytes still to be read.
void UndoPng(std::string& data, std::size_t rowBytes, std::size_t pixelBytes) {
    const std::size_t stride = rowBytes + 1;
    auto* bytes = reinterpret_cast<std::uint8_t*>(data.data());
    const std::uint8_t* prior = nullptr;  // the previous decoded row; none for the first
    std::size_t written = 0;
    for (std::size_t at = 0; at < data.size(); at += stride) {
        const std::uint8_t tag = bytes[at];
        const std::uint8_t* row = bytes + at + 1;
        const std::size_t count = std::min(rowBytes, data.size() - at - 1);
        std::uint8_t* current = bytes + written;
        // The first bytes of a row have nothing to their left.
        const std::size_t lead = std::min(pixelBytes, count);
        std::uint8_t kind = tag;
        if (!prior) {
            kind = tag == kUp ? kNone : tag == kPaeth ? kSub : tag;
        }
        switch (kind) {
            case kSub:
                std::memmove(current, row, lead);
                for (std::size_t i = lead; i < count; ++i)
                    current[i] = static_cast<std::uint8_t>(row[i] + current[i - pixelBytes]);
                break;
            case kUp:
                for (std::size_t i = 0; i < count; ++i)
                    current[i] = static_cast<std::uint8_t>(row[i] + prior[i]);
                break;
            case kAverage:
                for (std::size_t i = 0; i < lead; ++i)
                    current[i] = static_cast<std::uint8_t>(row[i] + (prior ? prior[i] : 0) / 2);
                for (std::size_t i = lead; i < count; ++i)
                    current[i] = static_cast<std::uint8_t>(
                        row[i] + (current[i - pixelBytes] + (prior ? prior[i] : 0)) / 2);
                break;
            case kPaeth:
                for (std::size_t i = 0; i < lead; ++i)
                    current[i] = static_cast<std::uint8_t>(row[i] + prior[i]);
                for (std::size_t i = lead; i < count; ++i)
                    current[i] = static_cast<std::uint8_t>(
                        row[i] + Paeth(current[i - pixelBytes], prior[i], prior[i - pixelBytes]));
                break;
            default:  // None, and unknown tags read alike
                std::memmove(current, row, count);
                break;
        }
        prior = current;
        written += count;
    }
    data.resize(written);
}

// Reads and writes samples of 1, 2, 4 or 16 bits, most significant first.
std::uint32_t GetSample(const std::uint8_t* row, std::size_t index, int bits) {
    if (bits == 16) {
        return std::uint32_t{row[2 * index]} << 8 | row[2 * index + 1];
    }
    const std::size_t bit = index * static_cast<std::size_t>(bits);
    const int shift = 8 - bits - static_cast<int>(bit % 8);
    return (row[bit / 8] >> shift) & ((1u << bits) - 1);
}

void SetSample(std::uint8_t* row, std::size_t index, int bits, std::uint32_t value) {
    if (bits == 16) {
        row[2 * index] = static_cast<std::uint8_t>(value >> 8);
        row[2 * index + 1] = static_cast<std::uint8_t>(value);
        return;
    }
    const std::size_t bit = index * static_cast<std::size_t>(bits);
    const int shift = 8 - bits - static_cast<int>(bit % 8);
    const auto mask = static_cast<std::uint8_t>(((1u << bits) - 1) << shift);
    row[bit / 8] = static_cast<std::uint8_t>((row[bit / 8] & ~mask) | ((value << shift) & mask));
}

// Each component is stored as its difference from the same component of the
// sample before it in the row; rows start on byte boundaries.
void UndoTiff(std::string& output, std::size_t rowBytes, const PredictorParams& params) {
    auto* out = reinterpret_cast<std::uint8_t*>(output.data());
    const auto colors = static_cast<std::size_t>(params.colors);
    const int bits = params.bitsPerComponent;
    for (std::size_t at = 0; at < output.size(); at += rowBytes) {
        std::uint8_t* row = out + at;
        const std::size_t count = std::min(rowBytes, output.size() - at);
        if (bits == 8) {
            for (std::size_t i = colors; i < count; ++i) {
                row[i] = static_cast<std::uint8_t>(row[i] + row[i - colors]);
            }
            continue;
        }
        // Only whole samples: a cut last row keeps a trailing fragment as read.
        const std::size_t samples = std::min(count * 8 / static_cast<std::size_t>(bits),
                                             colors * static_cast<std::size_t>(params.columns));
        const std::uint32_t mask = (1u << bits) - 1;
        for (std::size_t s = colors; s < samples; ++s) {
            SetSample(row, s, bits,
                      (GetSample(row, s, bits) + GetSample(row, s - colors, bits)) & mask);
        }
    }
}

}  // namespace

std::string ApplyPredictor(std::string data, const PredictorParams& params) {
    if (params.predictor <= 1) {
        return data;
    }
    const bool png =
        params.predictor >= kFirstPngPredictor && params.predictor <= kLastPngPredictor;
    if (!ValidParams(params) || (!png && params.predictor != kTiffPredictor)) {
        return {};
    }
    // The bounds keep this product below 2^34.
    const auto bitsPerSample =
        static_cast<std::size_t>(params.colors) * static_cast<std::size_t>(params.bitsPerComponent);
    const std::size_t rowBytes = (bitsPerSample * static_cast<std::size_t>(params.columns) + 7) / 8;
    if (png) {
        UndoPng(data, rowBytes, std::max<std::size_t>(1, bitsPerSample / 8));
    } else {
        UndoTiff(data, rowBytes, params);
    }
    return data;
}

}  // namespace tessary
