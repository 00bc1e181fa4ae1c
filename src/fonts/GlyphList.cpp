#include "fonts/GlyphList.h"

#include <algorithm>
#include <cstring>

namespace tessary {

namespace {

// Byte order with every byte taken as unsigned, whatever the signedness of char.
int CompareBytes(std::string_view a, std::string_view b) {
    const std::size_t common = std::min(a.size(), b.size());
    if (common != 0) {
        if (int result = std::memcmp(a.data(), b.data(), common); result != 0) {
            return result;
        }
    }
    if (a.size() == b.size()) {
        return 0;
    }
    return a.size() < b.size() ? -1 : 1;
}

// The value of 1 to 6 upper-case hex digits (the form glyph names use), or
// none.
std::optional<char32_t> ParseUpperHex(std::string_view digits) {
    char32_t value = 0;
    for (char c : digits) {
        if (c >= '0' && c <= '9') {
            value = value * 16 + static_cast<char32_t>(c - '0');
        } else if (c >= 'A' && c <= 'F') {
            value = value * 16 + static_cast<char32_t>(c - 'A' + 10);
        } else {
            return std::nullopt;
        }
    }
    return value;
}

bool IsScalarValue(char32_t c) {
    return c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF);
}

void AppendComponent(std::string_view component, std::u32string& text) {
    if (std::optional<std::uint16_t> unicode = FindGlyphName(component)) {
        text.push_back(*unicode);
        return;
    }
    if (component.size() > 3 && component.substr(0, 3) == "uni" && component.size() % 4 == 3) {
        std::u32string values;
        for (std::size_t i = 3; i < component.size(); i += 4) {
            std::optional<char32_t> value = ParseUpperHex(component.substr(i, 4));
            if (!value || !IsScalarValue(*value)) {
                return;
            }
            values.push_back(*value);
        }
        text += values;
    } else if (component.size() >= 5 && component.size() <= 7 && component[0] == 'u') {
        std::optional<char32_t> value = ParseUpperHex(component.substr(1));
        if (value && IsScalarValue(*value)) {
            text.push_back(*value);
        }
    }
}

}  // namespace

std::uint16_t LookupGlyphName(std::string_view name) {
    return FindGlyphName(name).value_or(0x0020);
}

std::optional<std::uint16_t> FindGlyphName(std::string_view name) {
    int low = 0;
    int high = static_cast<int>(GlyphList.size()) - 1;
    while (low <= high) {
        const int middle = (low + high) / 2;
        const int order = CompareBytes(GlyphList[middle].name, name);
        if (order < 0) {
            low = middle + 1;
        } else if (order > 0) {
            high = middle - 1;
        } else {
            return GlyphList[middle].unicode;
        }
    }
    return std::nullopt;
}

std::u32string GlyphNameToText(std::string_view name) {
    name = name.substr(0, name.find('.'));
    std::u32string text;
    while (!name.empty()) {
        const std::size_t end = name.find('_');
        AppendComponent(name.substr(0, end), text);
        name.remove_prefix(end == std::string_view::npos ? name.size() : end + 1);
    }
    return text;
}

}  // namespace tessary
