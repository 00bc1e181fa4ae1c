#include "platform/CodePage.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/SystemCodePage.h"

namespace tessary {
namespace {

TEST(CodePageTest, NamesAndNumbersFindTheSameCodePage) {
    // A set iconv knows but Windows doesn't number is kept by its name.
    for (auto [name, number] : {std::pair{"utf8", 65001},
                                {"UTF-8", 65001},
                                {"ANSI_X3.4-1968", 0},
                                {"us-ascii", 0},
                                {"Windows-1252", 1252},
                                {"iso8859_15", 28605},
                                {"armscii-8", CodePage::kUnnumbered}}) {
        const std::optional<CodePage> codePage = CodePage::FromName(name);
        ASSERT_TRUE(codePage) << name;
        EXPECT_EQ(codePage->GetNumber(), number) << name;
        EXPECT_TRUE(number == CodePage::kUnnumbered || CodePage::FromNumber(number) == codePage);
    }
    EXPECT_EQ(CodePage::FromName("Windows-1252")->GetName(), "CP1252");
    EXPECT_EQ(CodePage::FromName("armscii-8")->GetName(), "ARMSCII-8");
    EXPECT_EQ(CodePage::FromNumber(0), CodePage::Ascii());
    EXPECT_EQ(CodePage::FromNumber(65001), CodePage::Utf8());
    EXPECT_EQ(CodePage(), CodePage::Ascii());
    EXPECT_FALSE(CodePage::FromNumber(12345));
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
    for (auto [charset, number] : {std::pair{"UTF-8", 65001},
                                   {"ANSI_X3.4-1968", 0},
                                   {"ISO-8859-1", 28591},
                                   {"KOI8-R", 20866},
                                   {"NO-SUCH", 0}}) {
        EXPECT_EQ(CodePageForCharset(charset).GetNumber(), number) << charset;
    }
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
    EXPECT_EQ(&GetSystemCodePage(), &system);
    EXPECT_EQ(GetSystemCodePage(), system);
    saved ? setenv("LC_ALL", savedValue.c_str(), 1) : unsetenv("LC_ALL");
}

}  // namespace
}  // namespace tessary
