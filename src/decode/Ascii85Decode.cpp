#include "decode/Ascii85Decode.h"

#include <algorithm>
#include <cstdint>

namespace tessary {

namespace {

// Appends the `count` most significant bytes of `value`.
void AppendBytes(std::string& output, std::uint32_t value, int count) {
    for (int i = 0; i < count; ++i) {
        output.push_back(static_cast<char>(value >> (24 - 8 * i)));
    }
}

}  // namespace

std::string Ascii85Decode(std::string_view input) {
    // Five digits give four bytes and one 'z' gives four: the output never
    // exceeds this bound, so one allocation suffices.
    const auto zeroGroups = static_cast<std::size_t>(std::count(input.begin(), input.end(), 'z'));
    const std::size_t bound = (input.size() - zeroGroups) / 5 * 4 + 4 + zeroGroups * 4;
    std::string output;
    output.reserve(bound);

    std::uint32_t value = 0;  // arithmetic modulo 2^32, as the format defines it
    int digits = 0;
    for (const char byte : input) {
        const auto c = static_cast<unsigned char>(byte);
        if (c >= '!' && c <= 'u') {
            value = value * 85 + (c - '!');
            if (++digits == 5) {
                AppendBytes(output, value, 4);
                value = 0;
                digits = 0;
            }
        } else if (c == 'z' && digits == 0) {
            output.append(4, '\0');
        } else if (c == '~') {
            break;
        }
    }
    if (digits > 0) {
        // A partial group stands for its digits followed by 'u' digits.
        for (int i = digits; i < 5; ++i) {
            value = value * 85 + 84;
        }
        AppendBytes(output, value, digits - 1);
    }
    return output;
}

}  // namespace tessary
