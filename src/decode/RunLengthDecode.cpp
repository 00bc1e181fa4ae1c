#include "decode/RunLengthDecode.h"

#include <algorithm>
#include <cstdint>

namespace tessary {

namespace {

constexpr std::uint8_t kEndOfData = 128;

// Walks the runs, handing each to `copy(at, count)` (count bytes of input from
// `at`) or `repeat(byte, count)`.
template <typename Copy, typename Repeat>
void ForEachRun(std::string_view input, Copy copy, Repeat repeat) {
    std::size_t at = 0;
    while (at < input.size()) {
        const auto length = static_cast<std::uint8_t>(input[at++]);
        if (length == kEndOfData) {
            return;
        }
        if (length < kEndOfData) {
            const std::size_t count = std::min<std::size_t>(length + 1u, input.size() - at);
            copy(at, count);
            at += count;
        } else if (at < input.size()) {
            repeat(input[at++], std::size_t{257u} - length);
        }
    }
}

}  // namespace

std::string RunLengthDecode(std::string_view input, std::size_t limit) {
    // Two bytes can stand for 128: the size is counted first.
    std::size_t size = 0;
    ForEachRun(
        input, [&](std::size_t, std::size_t count) { size += count; },
        [&](char, std::size_t count) { size += count; });
    if (size > limit) {
        return {};
    }
    std::string output;
    output.reserve(size);
    ForEachRun(
        input, [&](std::size_t at, std::size_t count) { output.append(input.substr(at, count)); },
        [&](char byte, std::size_t count) { output.append(count, byte); });
    return output;
}

}  // namespace tessary
