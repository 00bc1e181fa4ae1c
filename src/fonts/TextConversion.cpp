#include "fonts/TextConversion.h"

#include <optional>

#include "fonts/AsciiSubstitute.h"
#include "platform/CodePageConversion.h"

namespace tessary {

std::string ConvertToText(std::uint16_t unicode, const CodePage& codePage,
                          std::string_view fallback) {
    // EncodeCharacter applies the round-trip rule, and for code page 0 gives
    // exactly the single bytes below 0x80.
    if (std::optional<std::string> bytes = EncodeCharacter(codePage, unicode);
        bytes && !bytes->empty()) {
        return std::move(*bytes);
    }
    if (std::optional<std::string_view> substitute = GetAsciiSubstitute(unicode)) {
        return std::string(*substitute);
    }
    return std::string(fallback);
}

}  // namespace tessary
