#include "platform/CodePageConversion.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace tessary {
namespace {

using Bytes = std::optional<std::string>;

CodePage Windows1252() {
    return CodePage::FromNumber(1252).value();
}

TEST(CodePageConversionTest, EncodesCharactersOfWindows1252) {
    CodePage cp = Windows1252();
    EXPECT_EQ(EncodeCharacter(cp, u'A'), Bytes("A"));
    EXPECT_EQ(EncodeCharacter(cp, 0x00E9), Bytes("\xE9"));
    EXPECT_EQ(EncodeCharacter(cp, 0x20AC), Bytes("\x80"));
    EXPECT_EQ(EncodeCharacter(cp, 0x2022), Bytes("\x95"));
    EXPECT_EQ(EncodeCharacter(cp, 0x0000), Bytes(std::string(1, '\0')));
    // Not in the code page: Polish L with stroke, the minus sign, CJK.
    EXPECT_EQ(EncodeCharacter(cp, 0x0141), std::nullopt);
    EXPECT_EQ(EncodeCharacter(cp, 0x2212), std::nullopt);
    EXPECT_EQ(EncodeCharacter(cp, 0x4E00), std::nullopt);
    // Only a best-fit form (a plain 'a'), which doesn't count.
    EXPECT_EQ(EncodeCharacter(cp, 0x0101), std::nullopt);
    // 0x81 is undefined in Windows-1252, so U+0081 has no byte.
    EXPECT_EQ(EncodeCharacter(cp, 0x0081), std::nullopt);
    EXPECT_EQ(EncodeCharacter(cp, 0xD800), std::nullopt);
}

TEST(CodePageConversionTest, CodePageZeroWritesOnlyAscii) {
    CodePage cp = CodePage::Ascii();
    EXPECT_EQ(EncodeCharacter(cp, u'A'), Bytes("A"));
    EXPECT_EQ(EncodeCharacter(cp, 0x007F), Bytes("\x7F"));
    EXPECT_EQ(EncodeCharacter(cp, 0x0000), Bytes(std::string(1, '\0')));
    EXPECT_EQ(EncodeCharacter(cp, 0x0080), std::nullopt);
    EXPECT_EQ(EncodeCharacter(cp, 0x00E9), std::nullopt);
    EXPECT_EQ(EncodeCharacter(cp, 0x4E00), std::nullopt);
}

TEST(CodePageConversionTest, Utf8WritesEveryCharacterButSurrogates) {
    CodePage cp = CodePage::Utf8();
    EXPECT_EQ(EncodeCharacter(cp, u'A'), Bytes("A"));
    EXPECT_EQ(EncodeCharacter(cp, 0x0000), Bytes(std::string(1, '\0')));
    EXPECT_EQ(EncodeCharacter(cp, 0x00E9), Bytes("\xC3\xA9"));
    EXPECT_EQ(EncodeCharacter(cp, 0x2022), Bytes("\xE2\x80\xA2"));
    EXPECT_EQ(EncodeCharacter(cp, 0x4E00), Bytes("\xE4\xB8\x80"));
    EXPECT_EQ(EncodeCharacter(cp, 0xFFFF), Bytes("\xEF\xBF\xBF"));
    EXPECT_EQ(EncodeCharacter(cp, 0xD800), std::nullopt);
    EXPECT_EQ(EncodeCharacter(cp, 0xDFFF), std::nullopt);
}

TEST(CodePageConversionTest, RefusesConversionsThatDoNotComeBack) {
    // EUC-JP: iconv writes the yen sign as 0x5C, which reads back as a backslash.
    CodePage eucJp = CodePage::FromNumber(51932).value();
    EXPECT_EQ(EncodeCharacter(eucJp, 0x3042), Bytes("\xA4\xA2"));
    EXPECT_EQ(EncodeCharacter(eucJp, 0x00A5), std::nullopt);
    // Windows-31J: the minus sign comes back as the fullwidth hyphen-minus.
    CodePage cp932 = CodePage::FromNumber(932).value();
    EXPECT_EQ(EncodeCharacter(cp932, 0xFF0D), Bytes("\x81\x7C"));
    EXPECT_EQ(EncodeCharacter(cp932, 0x2212), std::nullopt);
    // IBM-943 writes its substitute byte for anything it lacks.
    CodePage ibm943 = CodePage::FromName("IBM943").value();
    EXPECT_EQ(EncodeCharacter(ibm943, 0x0080), std::nullopt);
    // Windows-1258 writes a Vietnamese letter as base letter plus accent,
    // which reads back as the one letter: accepted, in two bytes.
    CodePage cp1258 = CodePage::FromNumber(1258).value();
    EXPECT_EQ(EncodeCharacter(cp1258, 0x1EA0), Bytes("A\xF2"));
}

TEST(CodePageConversionTest, DecodesTextForTheViewer) {
    EXPECT_EQ(DecodeText(Windows1252(), "A\x80\xE9\x95"), u"A\u20AC\u00E9\u2022");
    EXPECT_EQ(DecodeText(Windows1252(), "a\x81z"), u"a\uFFFDz");
    EXPECT_EQ(DecodeText(Windows1252(), std::string("a\0b", 3)), std::u16string(u"a\0b", 3));
    EXPECT_EQ(DecodeText(CodePage::Ascii(), "A\xE9z"), u"A\uFFFDz");

    CodePage utf8 = CodePage::Utf8();
    EXPECT_EQ(DecodeText(utf8, "\xE2\x80\xA2 \xC3\xA9"), u"\u2022 \u00E9");
    EXPECT_EQ(DecodeText(utf8, "\xF0\x9F\x98\x80"), u"\U0001F600");
    // Overlong form, encoded surrogate, stray continuation, cut-off sequence.
    EXPECT_EQ(DecodeText(utf8, "\xC0\xAF"), u"\uFFFD\uFFFD");
    EXPECT_EQ(DecodeText(utf8, "\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(DecodeText(utf8, "a\x80"), u"a\uFFFD");
    EXPECT_EQ(DecodeText(utf8, "a\xE2\x80"), u"a\uFFFD\uFFFD");

    CodePage eucJp = CodePage::FromNumber(51932).value();
    EXPECT_EQ(DecodeText(eucJp, "\xA4\xA2\xA4\xA4"), u"\u3042\u3044");
    EXPECT_EQ(DecodeText(eucJp, "\xA4\xA2\xFF!"), u"\u3042\uFFFD!");
    EXPECT_EQ(DecodeText(eucJp, "\xA4\xA2\xA4"), u"\u3042\uFFFD");
    // Longer than one conversion chunk.
    std::string many(5000, 'x');
    EXPECT_EQ(DecodeText(eucJp, many).size(), many.size());
}

TEST(CodePageConversionTest, EncodesEditedText) {
    CodePage cp = Windows1252();
    std::u16string text = u"\u00E9\u20AC\u0141\r\n";
    EXPECT_EQ(EncodeText(cp, text), "\xE9\x80?\r\n");
    auto substitute = [](char32_t c) { return c == 0x0141 ? std::string("L") : std::string("?"); };
    EXPECT_EQ(EncodeText(cp, text, substitute), "\xE9\x80L\r\n");
    EXPECT_EQ(EncodeText(CodePage::Ascii(), u"a\u00E9"), "a?");

    CodePage utf8 = CodePage::Utf8();
    EXPECT_EQ(EncodeText(utf8, u"\u2022\U0001F600"), "\xE2\x80\xA2\xF0\x9F\x98\x80");
    // A pair is one character: one substitute outside UTF-8, none inside.
    EXPECT_EQ(EncodeText(cp, u"\U0001F600"), "?");
    EXPECT_EQ(EncodeText(utf8, std::u16string(1, char16_t(0xDC00))), "?");

    CodePage eucJp = CodePage::FromNumber(51932).value();
    std::u16string japanese = u"\u3042 a\u3044\r\n";
    EXPECT_EQ(DecodeText(eucJp, EncodeText(eucJp, japanese)), japanese);
}

}  // namespace
}  // namespace tessary
