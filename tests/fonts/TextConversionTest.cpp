#include "fonts/TextConversion.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/CodePage.h"

namespace tessary {
namespace {

TEST(ConvertToTextTest, WritesTheCodePageThenSubstitutesThenFallsBack) {
    const CodePage windows1252 = CodePage::FromNumber(1252).value();
    struct Case {
        char32_t unicode;
        std::string windows1252, ascii, utf8;
    };
    const std::vector<Case> cases = {
        {0x00E9, "\xE9", "e", "\xC3\xA9"},   // the code page first, then the substitute
        {0x2212, "-", "-", "\xE2\x88\x92"},  // not in Windows-1252: the substitute
        {0x4E00, "?", "?", "\xE4\xB8\x80"},  // nothing at all but in UTF-8
        {0x2014, "\x97", "--", "\xE2\x80\x94"},
        {0x00A0, "\xA0", " ", "\xC2\xA0"},
        {0xD800, "?", "?", "?"},                  // a lone surrogate is no character
        {0x1F600, "?", "?", "\xF0\x9F\x98\x80"},  // no substitute beyond 16 bits
        // Ligatures are their letters in every code page.
        {0xFB00, "ff", "ff", "ff"},
        {0xFB01, "fi", "fi", "fi"},
        {0xFB02, "fl", "fl", "fl"},
        {0xFB03, "ffi", "ffi", "ffi"},
        {0xFB04, "ffl", "ffl", "ffl"},
        {0xFB05, "st", "st", "st"},
        {0xFB06, "st", "st", "st"},
        {0xFB13, "?", "?", "\xEF\xAC\x93"},  // other compatibility characters stay
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ConvertToText(c.unicode, windows1252, "?"), c.windows1252)
            << static_cast<std::uint32_t>(c.unicode);
        EXPECT_EQ(ConvertToText(c.unicode, CodePage::Ascii(), "?"), c.ascii)
            << static_cast<std::uint32_t>(c.unicode);
        EXPECT_EQ(ConvertToText(c.unicode, CodePage::Utf8(), "?"), c.utf8)
            << static_cast<std::uint32_t>(c.unicode);
    }
    EXPECT_EQ(ConvertToText(0x4E00, CodePage::Ascii(), "[?]"), "[?]");
    EXPECT_EQ(ConvertToText(0x4E00, CodePage::Ascii(), ""), "");
}

}  // namespace
}  // namespace tessary
