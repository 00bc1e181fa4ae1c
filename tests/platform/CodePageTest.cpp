#include "platform/CodePage.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/SystemCodePage.h"

namespace tessary {
namespace {

TEST(CodePageTest, NamesAndNumbersFindTheSameCodePage) {
    EXPECT_EQ(CodePage::FromName("utf8"), CodePage::Utf8());
    EXPECT_EQ(CodePage::FromName("UTF-8")->GetNumber(), 65001);
    EXPECT_EQ(CodePage::FromName("ANSI_X3.4-1968"), CodePage::Ascii());
    EXPECT_EQ(CodePage::FromName("us-ascii")->GetNumber(), 0);
    EXPECT_EQ(CodePage(), CodePage::Ascii());
    std::optional<CodePage> windows = CodePage::FromName("Windows-1252");
    ASSERT_TRUE(windows);
    EXPECT_EQ(windows->GetNumber(), 1252);
    EXPECT_EQ(windows->GetName(), "CP1252");
    EXPECT_EQ(CodePage::FromNumber(1252), windows);
    EXPECT_EQ(CodePage::FromName("iso8859_15")->GetNumber(), 28605);
    EXPECT_EQ(CodePage::FromNumber(0), CodePage::Ascii());
    EXPECT_EQ(CodePage::FromNumber(65001), CodePage::Utf8());
    EXPECT_FALSE(CodePage::FromNumber(12345));
    // A set iconv knows but Windows doesn't number is kept by its name.
    std::optional<CodePage> armenian = CodePage::FromName("armscii-8");
    ASSERT_TRUE(armenian);
    EXPECT_EQ(armenian->GetNumber(), CodePage::kUnnumbered);
    EXPECT_EQ(armenian->GetName(), "ARMSCII-8");
}

TEST(CodePageTest, RefusesSetsThatCannotCarryPageText) {
    // Unknown; not ASCII-compatible (spaces and line ends wouldn't be single
    // bytes); iconv suffixes that would bring transliteration in by the back door.
    for (const char* name :
         {"NO-SUCH-CHARSET", "", "UTF-16", "UTF-7", "EBCDIC-US", "ARMSCII-8//TRANSLIT"}) {
        EXPECT_FALSE(CodePage::FromName(name)) << name;
    }
    // Separators don't count in a name's spelling, but they do in its length.
    std::string longest = std::string(CodePage::kMaxNameLength - 4, '-') + "UTF8";
    EXPECT_EQ(CodePage::FromName(longest), CodePage::Utf8());
    EXPECT_FALSE(CodePage::FromName("-" + longest));
}

TEST(CodePageTest, CodePagesOfLocalesAndTheSystem) {
    EXPECT_EQ(CodePageForCharset("UTF-8"), CodePage::Utf8());
    EXPECT_EQ(CodePageForCharset("ANSI_X3.4-1968"), CodePage::Ascii());
    EXPECT_EQ(CodePageForCharset("ISO-8859-1").GetNumber(), 28591);
    EXPECT_EQ(CodePageForCharset("KOI8-R").GetNumber(), 20866);
    EXPECT_EQ(CodePageForCharset("NO-SUCH-CHARSET"), CodePage::Ascii());
    EXPECT_EQ(CodePageForLocale("C"), CodePage::Ascii());
    EXPECT_EQ(CodePageForLocale("POSIX"), CodePage::Ascii());
    EXPECT_FALSE(CodePageForLocale("xx_XX.NOT-INSTALLED"));

    // The system's code page follows the environment, read once.
    const CodePage& system = GetSystemCodePage();
    EXPECT_EQ(system, CodePageForLocale("").value_or(CodePage::Ascii()));
    const char* saved = std::getenv("LC_ALL");
    const std::string savedValue = saved ? saved : "";
    setenv("LC_ALL", "xx_XX.NOT-INSTALLED", 1);
    EXPECT_FALSE(CodePageForLocale(""));
    setenv("LC_ALL", "C", 1);
    EXPECT_EQ(CodePageForLocale(""), CodePage::Ascii());
    if (CodePageForLocale("C.UTF-8")) {
        setenv("LC_ALL", "C.UTF-8", 1);
        EXPECT_EQ(CodePageForLocale(""), CodePage::Utf8());
    }
    EXPECT_EQ(GetSystemCodePage(), system);
    EXPECT_EQ(&GetSystemCodePage(), &system);
    saved ? setenv("LC_ALL", savedValue.c_str(), 1) : unsetenv("LC_ALL");
}

}  // namespace
}  // namespace tessary
