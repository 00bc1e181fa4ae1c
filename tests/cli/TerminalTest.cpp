// tessary-convert on a terminal (a pseudo-terminal): the password prompt,
// the progress line, and what an interrupt leaves behind.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <thread>

#include "CliRun.h"
#include "support/PdfBuilder.h"

namespace tessary {
namespace {

namespace fs = std::filesystem;

constexpr int kTimeoutMs = 20000;

// The converter with a terminal as standard input, output and error.
class TerminalSession {
  public:
    TerminalSession(const std::vector<std::string>& arguments, const std::string& folder) {
        child_ = forkpty(&master_, nullptr, nullptr, nullptr);
        if (child_ == 0) {
            test::ExecConverter(arguments, folder);
        }
    }
    ~TerminalSession() {
        if (child_ > 0) {
            kill(child_, SIGKILL);
            test::WaitForChild(child_);
        }
        if (master_ >= 0) {
            close(master_);
        }
    }

    // Reads what the program writes until `text` appears after what was
    // already waited for; false on timeout or when the program ended first.
    bool WaitFor(const std::string& text) {
        for (;;) {
            const std::size_t found = seen_.find(text, searchFrom_);
            if (found != std::string::npos) {
                searchFrom_ = found + text.size();
                return true;
            }
            if (!ReadSome()) {
                return false;
            }
        }
    }
    // Everything up to the program's end, and its exit status (-signal).
    int Finish() {
        while (ReadSome()) {
        }
        const int status = test::WaitForChild(child_);
        child_ = -1;
        return status;
    }
    void Type(const std::string& keys) {
        ASSERT_EQ(write(master_, keys.data(), keys.size()), static_cast<ssize_t>(keys.size()));
    }
    bool EchoIsOn() const {
        termios settings;
        return tcgetattr(master_, &settings) == 0 && (settings.c_lflag & ECHO);
    }
    const std::string& Seen() const { return seen_; }

  private:
    bool ReadSome() {
        pollfd ready{master_, POLLIN, 0};
        if (poll(&ready, 1, kTimeoutMs) <= 0) {
            return false;
        }
        char buffer[4096];
        const ssize_t count = read(master_, buffer, sizeof buffer);
        if (count <= 0) {
            return false;  // EIO once the program has closed the terminal
        }
        seen_.append(buffer, static_cast<std::size_t>(count));
        return true;
    }

    pid_t child_ = -1;
    int master_ = -1;
    std::string seen_;
    std::size_t searchFrom_ = 0;
};

class TerminalTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const fs::path corpus = TESSARY_CORPUS_DIR;
        fs::copy_file(corpus / "qpdf/lo-prose--rc4-40.pdf", dir.Path() / "locked.pdf");
        fs::copy_file(corpus / "libreoffice/lo-long.pdf", dir.Path() / "long.pdf");
    }
    std::string Folder() const { return dir.Path().string(); }
    bool Exists(const std::string& name) const { return fs::exists(dir.Path() / name); }

    test::TempDir dir;
};

TEST_F(TerminalTest, PasswordIsAskedWithoutEcho) {
    TerminalSession session({"locked.pdf"}, Folder());
    ASSERT_TRUE(session.WaitFor("Password for locked.pdf: ")) << session.Seen();
    EXPECT_FALSE(session.EchoIsOn());
    session.Type("guess\n");
    ASSERT_TRUE(session.WaitFor("locked.pdf: Invalid password. Please input again."));
    ASSERT_TRUE(session.WaitFor("Password for locked.pdf: "));
    session.Type("user\n");
    EXPECT_EQ(session.Finish(), 0);
    EXPECT_TRUE(session.EchoIsOn());
    EXPECT_EQ(session.Seen().find("guess"), std::string::npos);
    EXPECT_EQ(session.Seen().find("user"), std::string::npos);
    EXPECT_TRUE(Exists("locked.txt"));
}

TEST_F(TerminalTest, EndOfInputCancelsAndInterruptRestoresEcho) {
    TerminalSession cancelled({"locked.pdf"}, Folder());
    ASSERT_TRUE(cancelled.WaitFor("Password for locked.pdf: "));
    cancelled.Type("\x04");  // Ctrl-D
    EXPECT_EQ(cancelled.Finish(), 1);
    EXPECT_NE(cancelled.Seen().find("locked.pdf: Could not parse the PDF file."),
              std::string::npos);
    EXPECT_FALSE(Exists("locked.txt"));

    TerminalSession interrupted({"locked.pdf"}, Folder());
    ASSERT_TRUE(interrupted.WaitFor("Password for locked.pdf: "));
    interrupted.Type("\x03");  // Ctrl-C
    EXPECT_EQ(interrupted.Finish(), -SIGINT);
    EXPECT_TRUE(interrupted.EchoIsOn());
}

TEST_F(TerminalTest, ProgressOfLongConversions) {
    TerminalSession session({"long.pdf"}, Folder());
    EXPECT_EQ(session.Finish(), 0);
    const std::string& seen = session.Seen();
    const std::string last = "\rlong.pdf: page 35 of 35";
    ASSERT_NE(seen.find("\rlong.pdf: page 1 of 35"), std::string::npos);
    ASSERT_NE(seen.find(last), std::string::npos);
    // The line is wiped before the outcome is written.
    const std::string wipe = "\r" + std::string(last.size() - 1, ' ') + "\r";
    EXPECT_NE(seen.find(wipe + "long.pdf: 35 pages converted successfully"), std::string::npos);

    for (const std::vector<std::string>& arguments :
         std::vector<std::vector<std::string>>{{"--first", "33", "long.pdf"},  // 3 pages
                                               {"-q", "long.pdf"}}) {
        TerminalSession quiet(arguments, Folder());
        EXPECT_EQ(quiet.Finish(), 0);
        EXPECT_EQ(quiet.Seen().find("page "), std::string::npos) << quiet.Seen();
    }
}

// Each page's content asks for a filter of its own that nobody knows, so
// each page writes a message: far more than a pipe holds.
std::string ManyMessagesDocument(int pages) {
    std::vector<std::string> contents(static_cast<std::size_t>(pages), "BT ET");
    std::vector<std::string> bodies = test::SimpleDocument(contents);
    for (int page = 0; page < pages; ++page) {
        char filter[16];
        std::snprintf(filter, sizeof filter, "/Q%06d", page);
        bodies[static_cast<std::size_t>(4 + 2 * page - 1)] =
            test::StreamBody(std::string("/Filter ") + filter, "BT ET");
    }
    return test::PdfBuilder(bodies, "/Root 1 0 R").Build();
}

TEST_F(TerminalTest, InterruptedConversionLeavesNoFile) {
    dir.Write("big.pdf", ManyMessagesDocument(3000));
    int messages[2];
    ASSERT_EQ(pipe(messages), 0);
    const pid_t child = fork();
    if (child == 0) {
        const int nothing = open("/dev/null", O_RDWR);
        dup2(nothing, 0);
        dup2(nothing, 1);
        dup2(messages[1], 2);  // never read: the program blocks once the pipe is full
        test::ExecConverter({"big.pdf"}, Folder());
    }
    close(messages[1]);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kTimeoutMs);
    while (!Exists("big.txt") && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_TRUE(Exists("big.txt"));
    kill(child, SIGTERM);
    EXPECT_EQ(test::WaitForChild(child), -SIGTERM);
    close(messages[0]);
    EXPECT_FALSE(Exists("big.txt"));
}

}  // namespace
}  // namespace tessary
