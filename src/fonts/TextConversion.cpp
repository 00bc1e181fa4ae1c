#include "fonts/TextConversion.h"

#include <optional>

#include "fonts/AsciiSubstitute.h"
#include "platform/CodePageConversion.h"

namespace tessary {

namespace {

std::optional<std::string_view> GetLigatureLetters(char32_t unicode) {
    switch (unicode) {
        case 0xFB00:
            return "ff";
        case 0xFB01:
            return "fi";
        case 0xFB02:
            return "fl";
        case 0xFB03:
            return "ffi";
        case 0xFB04:
            return "ffl";
        case 0xFB05:  // long s and t
        case 0xFB06:
            return "st";
        default:
            return std::nullopt;
    }
}

}  // namespace

std::string ConvertToText(char32_t unicode, const CodePage& codePage, std::string_view fallback) {
    if (std::optional<std::string_view> letters = GetLigatureLetters(unicode)) {
        return std::string(*letters);
    }
    // EncodeCharacter applies the round-trip rule, and for code page 0 gives
    // exactly the single bytes below 0x80.
    if (std::optional<std::string> bytes = EncodeCharacter(codePage, unicode);
        bytes && !bytes->empty()) {
        return std::move(*bytes);
    }
    if (unicode <= 0xFFFF) {
        if (std::optional<std::string_view> substitute =
                GetAsciiSubstitute(static_cast<std::uint16_t>(unicode))) {
            return std::string(*substitute);
        }
    }
    return std::string(fallback);
}

}  // namespace tessary
