// The output code page: which character set the extracted text is written in.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace tessary {

class IconvCharset;

// A character set for output text, identified by its Windows code page number
// where it has one and always by the name iconv knows it by.
//
// Three kinds behave differently:
// - code page 0 (ASCII): only U+0000..U+007F are written as themselves; the
//   rest goes through the ASCII substitutes;
// - code page 65001 (UTF-8): every BMP character except surrogates is written,
//   in one to three bytes;
// - every other character set is converted through iconv.
//
// A CodePage is a small value: copy it freely. The converters behind it live
// for the rest of the process.
class CodePage {
  public:
    static constexpr std::int32_t kAsciiNumber = 0;
    static constexpr std::int32_t kUtf8Number = 65001;
    // Number of a character set that has no Windows code page number; such a
    // code page is identified by its iconv name alone.
    static constexpr std::int32_t kUnnumbered = -1;
    // The longest name FromName accepts; iconv's own names are far shorter.
    static constexpr std::size_t kMaxNameLength = 64;

    // Code page 0 (ASCII).
    CodePage() = default;

    static CodePage Ascii() { return CodePage(); }
    static CodePage Utf8();

    // A code page chosen by name: "UTF-8", "ASCII", "CP1252", "WINDOWS-1252",
    // "ISO-8859-15", or any other name iconv converts. Names compare without
    // regard to case, '-', '_' and '.' for the character sets that have a
    // Windows number ("utf8", "Windows-1252" and "iso8859_1" all work).
    // Absent for a name longer than kMaxNameLength, when iconv can't convert
    // the set, or when the set isn't compatible with ASCII (UTF-16, UTF-7 and
    // EBCDIC sets can't write line ends and spaces as the single bytes the
    // page text relies on).
    static std::optional<CodePage> FromName(std::string_view name);

    // A code page chosen by Windows number: 0, 65001, 1250..1258, 28591 and
    // so on. Absent for numbers this system doesn't know or iconv lacks.
    static std::optional<CodePage> FromNumber(std::int32_t number);

    std::int32_t GetNumber() const { return number_; }
    // The name iconv knows the set by ("ASCII" and "UTF-8" for the two built-in kinds).
    const std::string& GetName() const { return name_; }
    bool IsAscii() const { return number_ == kAsciiNumber; }
    bool IsUtf8() const { return number_ == kUtf8Number; }

    // The iconv converter behind a code page other than ASCII and UTF-8 (null
    // for those two); used by the conversions in this folder.
    const IconvCharset* GetCharset() const { return charset_; }

    bool operator==(const CodePage& other) const {
        return number_ == other.number_ && name_ == other.name_;
    }

  private:
    CodePage(std::int32_t number, std::string name, const IconvCharset* charset)
        : number_(number), name_(std::move(name)), charset_(charset) {}

    std::int32_t number_ = kAsciiNumber;
    std::string name_ = "ASCII";
    const IconvCharset* charset_ = nullptr;  // null for ASCII and UTF-8
};

// The code page for the character set name that nl_langinfo(CODESET) gives:
// "UTF-8" is 65001, "ANSI_X3.4-1968" (the C locale) is 0, others as FromName.
// A set iconv can't use gives code page 0.
CodePage CodePageForCharset(std::string_view codeset);

}  // namespace tessary
