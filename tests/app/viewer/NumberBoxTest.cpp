#include "app/NumberBox.h"

#include <gtest/gtest.h>

namespace tessary {
namespace {

TEST(NumberBox, ReadsUnsignedDecimalNumbers) {
    const std::pair<const char*, std::optional<std::uint32_t>> cases[] = {
        {"12", 12},
        {"0", 0},
        {" \t 7\t ", 7},
        {"007", 7},
        {"4294967295", 4294967295u},
        {"4294967296", std::nullopt},
        {"99999999999999999999", std::nullopt},
        {"", std::nullopt},
        {" \t", std::nullopt},
        {"-1", std::nullopt},
        {"+1", std::nullopt},
        {"1 2", std::nullopt},
        {"12a", std::nullopt},
        {"\xd9\xa3", std::nullopt},  // an Arabic-Indic digit three
    };
    for (const auto& [text, value] : cases) {
        EXPECT_EQ(ParseUnsignedNumber(QString::fromUtf8(text)), value) << text;
    }
}

}  // namespace
}  // namespace tessary
