#include "cli/TerminalPassword.h"

#include <gtest/gtest.h>
#include <unistd.h>

namespace tessary {
namespace {

TEST(TerminalPassword, ReadsLinesUntilEndOfInput) {
    const std::string bytes = std::string(kMaxPasswordLength + 500, 'a') + "\nuser\n\nlast";
    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    ASSERT_EQ(write(ends[1], bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    close(ends[1]);
    EXPECT_EQ(ReadPasswordLine(ends[0]), std::string(kMaxPasswordLength, 'a'));  // cut, consumed
    EXPECT_EQ(ReadPasswordLine(ends[0]), "user");
    EXPECT_EQ(ReadPasswordLine(ends[0]), "");  // an empty password is an answer
    EXPECT_EQ(ReadPasswordLine(ends[0]), "last");
    EXPECT_EQ(ReadPasswordLine(ends[0]), std::nullopt);  // end of input cancels
    close(ends[0]);
}

}  // namespace
}  // namespace tessary
