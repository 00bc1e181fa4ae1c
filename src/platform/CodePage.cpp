#include "platform/CodePage.h"

#include <array>

#include "platform/IconvCharset.h"

namespace tessary {

namespace {

// Character sets that have a Windows code page number: the number, the name
// iconv uses, and another spelling that names it ("" for none). Lookups
// ignore case and the separators '-', '_' and '.'.
struct KnownCodePage {
    std::int32_t number;
    std::string_view iconvName;
    std::string_view alias;
};

constexpr std::array kKnownCodePages = {
    KnownCodePage{437, "CP437", ""},
    KnownCodePage{850, "CP850", ""},
    KnownCodePage{866, "CP866", ""},
    KnownCodePage{874, "CP874", "WINDOWS-874"},
    KnownCodePage{932, "CP932", "WINDOWS-31J"},
    KnownCodePage{936, "GBK", "CP936"},
    KnownCodePage{949, "CP949", "UHC"},
    KnownCodePage{950, "CP950", ""},
    KnownCodePage{1250, "CP1250", "WINDOWS-1250"},
    KnownCodePage{1251, "CP1251", "WINDOWS-1251"},
    KnownCodePage{1252, "CP1252", "WINDOWS-1252"},
    KnownCodePage{1253, "CP1253", "WINDOWS-1253"},
    KnownCodePage{1254, "CP1254", "WINDOWS-1254"},
    KnownCodePage{1255, "CP1255", "WINDOWS-1255"},
    KnownCodePage{1256, "CP1256", "WINDOWS-1256"},
    KnownCodePage{1257, "CP1257", "WINDOWS-1257"},
    KnownCodePage{1258, "CP1258", "WINDOWS-1258"},
    KnownCodePage{20866, "KOI8-R", ""},
    KnownCodePage{21866, "KOI8-U", ""},
    KnownCodePage{28591, "ISO-8859-1", "LATIN1"},
    KnownCodePage{28592, "ISO-8859-2", "LATIN2"},
    KnownCodePage{28593, "ISO-8859-3", "LATIN3"},
    KnownCodePage{28594, "ISO-8859-4", "LATIN4"},
    KnownCodePage{28595, "ISO-8859-5", "CYRILLIC"},
    KnownCodePage{28596, "ISO-8859-6", "ARABIC"},
    KnownCodePage{28597, "ISO-8859-7", "GREEK"},
    KnownCodePage{28598, "ISO-8859-8", "HEBREW"},
    KnownCodePage{28599, "ISO-8859-9", "LATIN5"},
    KnownCodePage{28603, "ISO-8859-13", "LATIN7"},
    KnownCodePage{28605, "ISO-8859-15", "LATIN-9"},
    KnownCodePage{51932, "EUC-JP", ""},
    KnownCodePage{51949, "EUC-KR", ""},
    KnownCodePage{54936, "GB18030", ""},
};

// Spellings of the two code pages that need no iconv.
constexpr std::array kAsciiNames = {std::string_view("ASCII"), std::string_view("ANSI_X3.4-1968"),
                                    std::string_view("US-ASCII"), std::string_view("CP20127")};
constexpr std::array kUtf8Names = {std::string_view("UTF-8"), std::string_view("CP65001")};

std::string Normalize(std::string_view name) {
    std::string result;
    for (char c : name) {
        if (c == '-' || c == '_' || c == '.') {
            continue;
        }
        result.push_back(c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c);
    }
    return result;
}

std::string ToUpper(std::string_view name) {
    std::string result(name);
    for (char& c : result) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return result;
}

template <typename Names>
bool IsOneOf(const std::string& normalized, const Names& names) {
    for (std::string_view name : names) {
        if (normalized == Normalize(name)) {
            return true;
        }
    }
    return false;
}

}  // namespace

CodePage CodePage::Utf8() {
    return CodePage(kUtf8Number, "UTF-8", nullptr);
}

std::optional<CodePage> CodePage::FromName(std::string_view name) {
    if (name.empty() || name.size() > kMaxNameLength) {
        return std::nullopt;
    }
    std::string normalized = Normalize(name);
    if (IsOneOf(normalized, kAsciiNames)) {
        return Ascii();
    }
    if (IsOneOf(normalized, kUtf8Names)) {
        return Utf8();
    }
    for (const KnownCodePage& known : kKnownCodePages) {
        if (normalized == Normalize(known.iconvName) ||
            (!known.alias.empty() && normalized == Normalize(known.alias))) {
            return FromNumber(known.number);
        }
    }
    std::string iconvName = ToUpper(name);
    const IconvCharset* charset = IconvCharset::Get(iconvName);
    if (charset == nullptr) {
        return std::nullopt;
    }
    return CodePage(kUnnumbered, std::move(iconvName), charset);
}

std::optional<CodePage> CodePage::FromNumber(std::int32_t number) {
    if (number == kAsciiNumber) {
        return Ascii();
    }
    if (number == kUtf8Number) {
        return Utf8();
    }
    for (const KnownCodePage& known : kKnownCodePages) {
        if (known.number == number) {
            const IconvCharset* charset = IconvCharset::Get(known.iconvName);
            if (charset == nullptr) {
                return std::nullopt;
            }
            return CodePage(number, std::string(known.iconvName), charset);
        }
    }
    return std::nullopt;
}

CodePage CodePageForCharset(std::string_view codeset) {
    return CodePage::FromName(codeset).value_or(CodePage::Ascii());
}

}  // namespace tessary
