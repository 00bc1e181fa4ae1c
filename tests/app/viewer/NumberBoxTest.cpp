#include "app/NumberBox.h"

#include <gtest/gtest.h>

namespace tessary {
namespace {

TEST(NumberBox, ReadsUnsignedDecimalNumbers) {
    const std::pair<const char*, std::optional<std::uint32_t>> cases[] = {
        {"12", 12},
        {" \t 7\t ", 7},
        {"007", 7},
        {"0", 0},
        {"4294967295", 4294967295u},
        {"4294967296", {}},
        {"99999999999999999999", {}},
        {"", {}},
        {" \t", {}},
        {"-1", {}},
        {"+1", {}},
        {"1 2", {}},
        {"12a", {}},
        {"\xd9\xa3", {}},  // an Arabic-Indic digit
    };
    for (const auto& [text, value] : cases) {
        EXPECT_EQ(ParseUnsignedNumber(QString::fromUtf8(text)), value) << text;
    }
}

}  // namespace
}  // namespace tessary
