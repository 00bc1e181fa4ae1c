#include "platform/CodePageConversion.h"

#include "platform/IconvCharset.h"

namespace tessary {

namespace {

constexpr char16_t kReplacementCharacter = 0xFFFD;

bool IsSurrogate(char32_t c) {
    return c >= 0xD800 && c < 0xE000;
}

void AppendUtf8(char32_t c, std::string& out) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

// Appends c when the code page writes it; false otherwise.
bool AppendCharacter(const CodePage& codePage, char32_t c, std::string& out) {
    if (codePage.IsUtf8()) {
        if (IsSurrogate(c) || c > 0x10FFFF) {
            return false;
        }
        AppendUtf8(c, out);
        return true;
    }
    if (c > 0xFFFF) {
        return false;
    }
    if (codePage.IsAscii() || codePage.GetCharset() == nullptr) {
        if (c >= 0x80) {
            return false;
        }
        out.push_back(static_cast<char>(c));
        return true;
    }
    std::string_view bytes = codePage.GetCharset()->Encode(static_cast<char16_t>(c));
    out.append(bytes);
    return !bytes.empty();
}

// Length of the well-formed UTF-8 sequence at the start of bytes and its code
// point; 0 when it isn't one (overlong forms, surrogates and values above
// U+10FFFF are not).
std::size_t ReadUtf8(std::string_view bytes, char32_t& c) {
    auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    unsigned char lead = byte(0);
    std::size_t length;
    char32_t minimum;
    if (lead < 0x80) {
        c = lead;
        return 1;
    } else if (lead >= 0xC2 && lead < 0xE0) {
        length = 2, minimum = 0x80, c = lead & 0x1F;
    } else if (lead >= 0xE0 && lead < 0xF0) {
        length = 3, minimum = 0x800, c = lead & 0x0F;
    } else if (lead >= 0xF0 && lead < 0xF5) {
        length = 4, minimum = 0x10000, c = lead & 0x07;
    } else {
        return 0;
    }
    if (bytes.size() < length) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) {
            return 0;
        }
        c = c << 6 | (byte(i) & 0x3F);
    }
    if (c < minimum || c > 0x10FFFF || IsSurrogate(c)) {
        return 0;
    }
    return length;
}

void DecodeUtf8(std::string_view bytes, std::u16string& out) {
    while (!bytes.empty()) {
        char32_t c;
        std::size_t length = ReadUtf8(bytes, c);
        if (length == 0) {
            out.push_back(kReplacementCharacter);
            bytes.remove_prefix(1);
            continue;
        }
        if (c >= 0x10000) {
            c -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(c));
        }
        bytes.remove_prefix(length);
    }
}

}  // namespace

std::optional<std::string> EncodeCharacter(const CodePage& codePage, char32_t unicode) {
    std::string bytes;
    if (!AppendCharacter(codePage, unicode, bytes)) {
        return std::nullopt;
    }
    return bytes;
}

std::u16string DecodeText(const CodePage& codePage, std::string_view bytes) {
    std::u16string text;
    text.reserve(bytes.size());
    if (codePage.IsUtf8()) {
        DecodeUtf8(bytes, text);
    } else if (codePage.GetCharset() != nullptr) {
        codePage.GetCharset()->Decode(bytes, text);
    } else {
        for (char byte : bytes) {
            auto b = static_cast<unsigned char>(byte);
            text.push_back(b < 0x80 ? static_cast<char16_t>(b) : kReplacementCharacter);
        }
    }
    return text;
}

std::string EncodeText(const CodePage& codePage, std::u16string_view text,
                       const CharacterSubstitute& substitute) {
    std::string bytes;
    bytes.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        }
        if (!AppendCharacter(codePage, c, bytes)) {
            bytes += substitute ? substitute(c) : std::string("?");
        }
    }
    return bytes;
}

}  // namespace tessary
