#include "cli/TerminalPassword.h"

#include <gtest/gtest.h>
#include <unistd.h>

namespace tessary {
namespace {

// A pipe holding `bytes`, its writing end closed: reads end in end of input.
class InputPipe {
  public:
    explicit InputPipe(const std::string& bytes) {
        EXPECT_EQ(pipe(ends_), 0);
        EXPECT_EQ(write(ends_[1], bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
        close(ends_[1]);
    }
    ~InputPipe() { close(ends_[0]); }
    int Get() const { return ends_[0]; }

  private:
    int ends_[2] = {-1, -1};
};

TEST(TerminalPassword, ReadsLinesUntilEndOfInput) {
    InputPipe input("user\n\nlast");
    EXPECT_EQ(ReadPasswordLine(input.Get()), "user");
    EXPECT_EQ(ReadPasswordLine(input.Get()), "");  // an empty password is an answer
    EXPECT_EQ(ReadPasswordLine(input.Get()), "last");
    EXPECT_EQ(ReadPasswordLine(input.Get()), std::nullopt);  // end of input cancels
}

TEST(TerminalPassword, LongLineIsCutAndConsumed) {
    InputPipe input(std::string(kMaxPasswordLength + 500, 'a') + "\nnext\n");
    EXPECT_EQ(ReadPasswordLine(input.Get()), std::string(kMaxPasswordLength, 'a'));
    EXPECT_EQ(ReadPasswordLine(input.Get()), "next");
}

}  // namespace
}  // namespace tessary
