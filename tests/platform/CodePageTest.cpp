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
    EXPECT_FALSE(CodePage::FromName("NO-SUCH-CHARSET"));
    EXPECT_FALSE(CodePage::FromName(""));
    // Not ASCII-compatible: spaces and line ends wouldn't be single bytes.
    EXPECT_FALSE(CodePage::FromName("UTF-16"));
    EXPECT_FALSE(CodePage::FromName("UTF-7"));
    EXPECT_FALSE(CodePage::FromName("EBCDIC-US"));
    // iconv's suffixes would bring transliteration in by the back door.
    EXPECT_FALSE(CodePage::FromName("ARMSCII-8//TRANSLIT"));

    // Separators don't count in a name's spelling, but they do in its length.
    std::string longest = std::string(CodePage::kMaxNameLength - 4, '-') + "UTF8";
    EXPECT_EQ(CodePage::FromName(longest), CodePage::Utf8());
    EXPECT_FALSE(CodePage::FromName("-" + longest));
}

TEST(CodePageTest, CharsetNamesOfLocales) {
    EXPECT_EQ(CodePageForCharset("UTF-8"), CodePage::Utf8());
    EXPECT_EQ(CodePageForCharset("ANSI_X3.4-1968"), CodePage::Ascii());
    EXPECT_EQ(CodePageForCharset("ISO-8859-1").GetNumber(), 28591);
    EXPECT_EQ(CodePageForCharset("KOI8-R").GetNumber(), 20866);
    EXPECT_EQ(CodePageForCharset("NO-SUCH-CHARSET"), CodePage::Ascii());

    EXPECT_EQ(CodePageForLocale("C"), CodePage::Ascii());
    EXPECT_EQ(CodePageForLocale("POSIX"), CodePage::Ascii());
    EXPECT_FALSE(CodePageForLocale("xx_XX.NOT-INSTALLED"));
    std::optional<CodePage> utf8 = CodePageForLocale("C.UTF-8");
    if (!utf8) {
        GTEST_SKIP() << "no C.UTF-8 locale installed";
    }
    EXPECT_EQ(utf8, CodePage::Utf8());
}

// Restores an environment variable when the test ends.
class ScopedEnvironment {
  public:
    explicit ScopedEnvironment(const char* name) : name_(name) {
        if (const char* value = std::getenv(name)) {
            saved_ = value;
        }
    }
    ~ScopedEnvironment() {
        if (saved_) {
            setenv(name_, saved_->c_str(), 1);
        } else {
            unsetenv(name_);
        }
    }
    void Set(const char* value) { setenv(name_, value, 1); }

  private:
    const char* name_;
    std::optional<std::string> saved_;
};

TEST(CodePageTest, SystemCodePageFollowsTheEnvironment) {
    const CodePage& system = GetSystemCodePage();
    EXPECT_EQ(system, CodePageForLocale("").value_or(CodePage::Ascii()));
    EXPECT_EQ(&GetSystemCodePage(), &system);

    ScopedEnvironment lcAll("LC_ALL");
    lcAll.Set("C");
    EXPECT_EQ(CodePageForLocale(""), CodePage::Ascii());
    lcAll.Set("xx_XX.NOT-INSTALLED");
    EXPECT_FALSE(CodePageForLocale(""));
    if (CodePageForLocale("C.UTF-8")) {
        lcAll.Set("C.UTF-8");
        EXPECT_EQ(CodePageForLocale(""), CodePage::Utf8());
    }
    // Read once: later changes of the environment don't reach it.
    EXPECT_EQ(GetSystemCodePage(), system);
}

}  // namespace
}  // namespace tessary
