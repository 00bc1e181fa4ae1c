#include "platform/CodePageConversion.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace tessary {
namespace {

using Bytes = std::optional<std::string>;
const Bytes kNone = std::nullopt;

TEST(CodePageConversionTest, EncodesOnlyWhatConvertsBackToItself) {
    const CodePage cp1252 = CodePage::FromNumber(1252).value();
    const std::string zero(1, '\0');
    struct Case {
        char32_t c;
        Bytes windows1252, ascii, utf8;
    };
    const std::vector<Case> cases = {
        {U'A', "A", "A", "A"},
        {0x0000, zero, zero, zero},
        {0x007F, "\x7F", "\x7F", "\x7F"},
        {0x0080, kNone, kNone, "\xC2\x80"},
        {0x00E9, "\xE9", kNone, "\xC3\xA9"},
        {0x20AC, "\x80", kNone, "\xE2\x82\xAC"},
        {0x2022, "\x95", kNone, "\xE2\x80\xA2"},
        {0x0141, kNone, kNone, "\xC5\x81"},
        {0x0101, kNone, kNone, "\xC4\x81"},  // only a best-fit 'a' in 1252, which doesn't count
        {0x0081, kNone, kNone, "\xC2\x81"},  // 0x81 is undefined in Windows-1252
        {0x4E00, kNone, kNone, "\xE4\xB8\x80"},
        {0xFFFF, kNone, kNone, "\xEF\xBF\xBF"},
        {0xD800, kNone, kNone, kNone},
        {0xDFFF, kNone, kNone, kNone},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(EncodeCharacter(cp1252, c.c), c.windows1252) << static_cast<std::uint32_t>(c.c);
        EXPECT_EQ(EncodeCharacter(CodePage::Ascii(), c.c), c.ascii)
            << static_cast<std::uint32_t>(c.c);
        EXPECT_EQ(EncodeCharacter(CodePage::Utf8(), c.c), c.utf8)
            << static_cast<std::uint32_t>(c.c);
    }
    // EUC-JP: iconv writes the yen sign as 0x5C, which reads back as a backslash.
    const CodePage eucJp = CodePage::FromNumber(51932).value();
    EXPECT_EQ(EncodeCharacter(eucJp, 0x3042), Bytes("\xA4\xA2"));
    EXPECT_EQ(EncodeCharacter(eucJp, 0x00A5), kNone);
    // Windows-31J: the minus sign comes back as the fullwidth hyphen-minus.
    EXPECT_EQ(EncodeCharacter(CodePage::FromNumber(932).value(), 0xFF0D), Bytes("\x81\x7C"));
    EXPECT_EQ(EncodeCharacter(CodePage::FromNumber(932).value(), 0x2212), kNone);
    // IBM-943 writes its substitute byte for anything it lacks.
    EXPECT_EQ(EncodeCharacter(CodePage::FromName("IBM943").value(), 0x0080), kNone);
    // Windows-1258 writes a Vietnamese letter as base letter plus accent,
    // which reads back as the one letter: accepted, in two bytes.
    EXPECT_EQ(EncodeCharacter(CodePage::FromNumber(1258).value(), 0x1EA0), Bytes("A\xF2"));
}

TEST(CodePageConversionTest, DecodesTextForTheViewer) {
    const CodePage cp1252 = CodePage::FromNumber(1252).value();
    EXPECT_EQ(DecodeText(cp1252, "A\x80\xE9\x95"), u"A\u20AC\u00E9\u2022");
    EXPECT_EQ(DecodeText(cp1252, "a\x81z"), u"a\uFFFDz");
    EXPECT_EQ(DecodeText(cp1252, std::string("a\0b", 3)), std::u16string(u"a\0b", 3));
    EXPECT_EQ(DecodeText(CodePage::Ascii(), "A\xE9z"), u"A\uFFFDz");

    const CodePage utf8 = CodePage::Utf8();
    EXPECT_EQ(DecodeText(utf8, "\xE2\x80\xA2 \xC3\xA9"), u"\u2022 \u00E9");
    EXPECT_EQ(DecodeText(utf8, "\xF0\x9F\x98\x80"), u"\U0001F600");
    // Overlong form, encoded surrogate, stray continuation, cut-off sequence.
    EXPECT_EQ(DecodeText(utf8, "\xC0\xAF"), u"\uFFFD\uFFFD");
    EXPECT_EQ(DecodeText(utf8, "\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(DecodeText(utf8, "a\x80"), u"a\uFFFD");
    EXPECT_EQ(DecodeText(utf8, "a\xE2\x80"), u"a\uFFFD\uFFFD");

    const CodePage eucJp = CodePage::FromNumber(51932).value();
    EXPECT_EQ(DecodeText(eucJp, "\xA4\xA2\xFF!"), u"\u3042\uFFFD!");
    EXPECT_EQ(DecodeText(eucJp, "\xA4\xA2\xA4"), u"\u3042\uFFFD");
    EXPECT_EQ(DecodeText(eucJp, std::string(5000, 'x')).size(), 5000u);  // several chunks
}

TEST(CodePageConversionTest, EncodesEditedText) {
    const CodePage cp1252 = CodePage::FromNumber(1252).value();
    const std::u16string text = u"\u00E9\u20AC\u0141\r\n";
    EXPECT_EQ(EncodeText(cp1252, text), "\xE9\x80?\r\n");
    auto substitute = [](char32_t c) { return std::string(c == 0x0141 ? "L" : "?"); };
    EXPECT_EQ(EncodeText(cp1252, text, substitute), "\xE9\x80L\r\n");
    EXPECT_EQ(EncodeText(CodePage::Ascii(), u"a\u00E9"), "a?");
    const CodePage utf8 = CodePage::Utf8();
    EXPECT_EQ(EncodeText(utf8, u"\u2022\U0001F600"), "\xE2\x80\xA2\xF0\x9F\x98\x80");
    // A pair is one character: one substitute outside UTF-8, none inside.
    EXPECT_EQ(EncodeText(cp1252, u"\U0001F600"), "?");
    EXPECT_EQ(EncodeText(utf8, std::u16string(1, char16_t(0xDC00))), "?");
    const CodePage eucJp = CodePage::FromNumber(51932).value();
    const std::u16string japanese = u"\u3042 a\u3044\r\n";
    EXPECT_EQ(DecodeText(eucJp, EncodeText(eucJp, japanese)), japanese);
}

}  // namespace
}  // namespace tessary
