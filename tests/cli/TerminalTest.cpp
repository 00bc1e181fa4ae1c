// tessary-convert on a pseudo-terminal: the password prompt, the progress
// line, and what an interrupt leaves behind.
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "CliRun.h"
#include "support/PdfBuilder.h"
#include "support/TestSupport.h"

namespace tessary {
namespace {

namespace fs = std::filesystem;

constexpr int kTimeoutMs = 20000;

// The converter with a terminal as standard input, output and error.
class TerminalSession {
  public:
    TerminalSession(const std::vector<std::string>& arguments, const std::string& folder) {
        child = forkpty(&master, nullptr, nullptr, nullptr);
        if (child == 0) {
            test::ExecConverter(arguments, folder);
        }
    }
    ~TerminalSession() {
        if (child > 0) {
            kill(child, SIGKILL);
            test::WaitForChild(child);
        }
        close(master);
    }
    // False on timeout or when the program ended before `text` appeared.
    bool WaitFor(const std::string& text) {
        for (std::size_t found; (found = seen.find(text, searchFrom)) == std::string::npos;) {
            if (!ReadSome()) {
                return false;
            }
        }
        searchFrom = seen.find(text, searchFrom) + text.size();
        return true;
    }
    // The exit status, or minus the signal that ended the program.
    int Finish(int signal = 0) {
        if (signal != 0) {
            kill(child, signal);
        }
        while (ReadSome()) {
        }
        return test::WaitForChild(std::exchange(child, -1));
    }
    void Type(const std::string& keys) {
        ASSERT_EQ(write(master, keys.data(), keys.size()), static_cast<ssize_t>(keys.size()));
    }
    bool EchoIsOn() const {
        termios settings;
        return tcgetattr(master, &settings) == 0 && (settings.c_lflag & ECHO);
    }
    bool Saw(const std::string& text) const { return seen.find(text) != std::string::npos; }

    std::string seen;

  private:
    bool ReadSome() {
        pollfd ready{master, POLLIN, 0};
        char buffer[4096];
        const ssize_t count =
            poll(&ready, 1, kTimeoutMs) > 0 ? read(master, buffer, sizeof buffer) : 0;
        seen.append(buffer, static_cast<std::size_t>(std::max<ssize_t>(count, 0)));
        return count > 0;  // EIO once the program has closed the terminal
    }

    pid_t child = -1;
    int master = -1;
    std::size_t searchFrom = 0;
};

class TerminalTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const fs::path corpus = TESSARY_CORPUS_DIR;
        fs::copy_file(corpus / "qpdf/lo-prose--rc4-40.pdf", dir.path / "locked.pdf");
        fs::copy_file(corpus / "libreoffice/lo-long.pdf", dir.path / "long.pdf");
    }
    std::string Folder() const { return dir.path.string(); }
    bool Exists(const std::string& name) const { return fs::exists(dir.path / name); }

    test::TempDir dir;
};

TEST_F(TerminalTest, PasswordIsAskedWithoutEcho) {
    const std::string prompt = "Password for locked.pdf: ";
    TerminalSession session({"locked.pdf"}, Folder());
    ASSERT_TRUE(session.WaitFor(prompt)) << session.seen;
    EXPECT_FALSE(session.EchoIsOn());
    session.Type("guess\n");
    ASSERT_TRUE(session.WaitFor("locked.pdf: Invalid password. Please input again."));
    ASSERT_TRUE(session.WaitFor(prompt));
    session.Type("user\n");
    EXPECT_EQ(session.Finish(), 0);
    EXPECT_TRUE(session.EchoIsOn());
    EXPECT_FALSE(session.Saw("guess") || session.Saw("user"));
    EXPECT_TRUE(Exists("locked.txt"));
    fs::remove(dir.path / "locked.txt");

    TerminalSession cancelled({"locked.pdf"}, Folder());
    ASSERT_TRUE(cancelled.WaitFor(prompt));
    cancelled.Type("\x04");  // Ctrl-D
    EXPECT_EQ(cancelled.Finish(), 1);
    EXPECT_TRUE(cancelled.Saw("locked.pdf: Could not parse the PDF file."));
    EXPECT_FALSE(Exists("locked.txt"));

    TerminalSession interrupted({"locked.pdf"}, Folder());
    ASSERT_TRUE(interrupted.WaitFor(prompt));
    interrupted.Type("\x03");  // Ctrl-C
    EXPECT_EQ(interrupted.Finish(), -SIGINT);
    EXPECT_TRUE(interrupted.EchoIsOn());
}

TEST_F(TerminalTest, ProgressOfLongConversions) {
    TerminalSession session({"long.pdf"}, Folder());
    EXPECT_EQ(session.Finish(), 0);
    const std::string last = "\rlong.pdf: page 35 of 35";
    EXPECT_TRUE(session.Saw("\rlong.pdf: page 1 of 35"));
    // The line is wiped before the outcome is written.
    const std::string wipe = "\r" + std::string(last.size() - 1, ' ') + "\r";
    EXPECT_TRUE(session.Saw(last + wipe + "long.pdf: 35 pages converted successfully"))
        << session.seen;

    for (const char* option : {"--first=33", "-q"}) {  // 3 pages; quiet
        TerminalSession quiet({option, "long.pdf"}, Folder());
        EXPECT_EQ(quiet.Finish(), 0);
        EXPECT_FALSE(quiet.Saw("page ")) << quiet.seen;
    }
}

TEST_F(TerminalTest, InterruptedConversionsLeaveNoFile) {
    // Each page of the first file asks for an unknown filter of its own, so
    // each page writes a message: far more than the terminal holds while
    // nobody reads it. The second file's pages take long to lay out.
    std::vector<std::string> bodies = test::SimpleDocument(std::vector<std::string>(3000, "BT ET"));
    for (std::size_t page = 0; page < 3000; ++page) {
        bodies[3 + 2 * page] = test::StreamBody("/Filter /Q" + std::to_string(page), "BT ET");
    }
    dir.Write("blocked.pdf", test::PdfBuilder(bodies, "/Root 1 0 R").Build());
    std::string items = "BT /F1 10 Tf";
    for (int i = 0; i < 20000; ++i) {
        items +=
            " " + std::to_string(i * 7 % 500) + " " + std::to_string(i * 13 % 700) + " Td (x) Tj";
    }
    bodies = test::SimpleDocument(std::vector<std::string>(1000, ""), test::kCourierResources);
    bodies[3] = test::StreamBody("", items + " ET");  // shared by every page
    for (std::size_t page = 1; page < 1000; ++page) {
        const std::string own = "/Contents " + std::to_string(4 + 2 * page) + " ";
        std::string& body = bodies[2 + 2 * page];
        body.replace(body.find(own), own.size(), "/Contents 4 ");
    }
    dir.Write("slow.pdf", test::PdfBuilder(bodies, "/Root 1 0 R").Build());

    TerminalSession session({"-j", "2", "blocked.pdf", "slow.pdf"}, Folder());
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kTimeoutMs);
    while (!(Exists("blocked.txt") && Exists("slow.txt")) &&
           std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_TRUE(Exists("blocked.txt") && Exists("slow.txt"));
    EXPECT_EQ(session.Finish(SIGINT), -SIGINT);
    EXPECT_FALSE(Exists("blocked.txt") || Exists("slow.txt"));
}

}  // namespace
}  // namespace tessary
