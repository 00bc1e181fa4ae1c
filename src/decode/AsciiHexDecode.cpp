#include "decode/AsciiHexDecode.h"

namespace tessary {

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

std::string AsciiHexDecode(std::string_view input) {
    std::string output;
    // Two digits per byte, one more for an odd last digit.
    output.reserve(input.size() / 2 + 1);
    int high = -1;  // the first digit of a pair, while waiting for the second
    for (const char c : input) {
        if (c == '>') {
            break;
        }
        const int value = HexDigitValue(c);
        if (value < 0) {
            continue;
        }
        if (high < 0) {
            high = value;
        } else {
            output.push_back(static_cast<char>(high << 4 | value));
            high = -1;
        }
    }
    if (high >= 0) {
        output.push_back(static_cast<char>(high << 4));
    }
    return output;
}

}  // namespace tessary
