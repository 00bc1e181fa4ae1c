#include "cli/CommandLine.h"

#include <gtest/gtest.h>

#include <limits>

namespace tessary {
namespace {

ParsedCommandLine Parse(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), "/usr/bin/tessary-convert");
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    return ParseCommandLine(static_cast<int>(arguments.size()), argv.data());
}

TEST(CommandLine, ReadsOptionsBeforeAndAfterFiles) {
    ParsedCommandLine parsed =
        Parse({"a.pdf", "--width", "0078", "--first=2", "--last", "5", "-q", "-p", "secret", "-e",
               "cp1252", "--order", "reading", "--", "-b.pdf"});
    ASSERT_EQ(parsed.action, CliAction::Convert) << parsed.error;
    const CliOptions& options = parsed.options;
    EXPECT_EQ(options.programName, "tessary-convert");
    EXPECT_EQ(options.inputs, (std::vector<std::string>{"a.pdf", "-b.pdf"}));
    EXPECT_EQ(options.width, 78);
    EXPECT_EQ(options.firstPage, 2);
    EXPECT_EQ(options.lastPage, 5);
    EXPECT_TRUE(options.quiet);
    EXPECT_EQ(options.password, "secret");
    EXPECT_EQ(options.codePage.GetNumber(), 1252);
    EXPECT_EQ(options.order, TextOrder::Reading);
    EXPECT_FALSE(options.output);

    ParsedCommandLine defaults = Parse({"-o", "-", "a.pdf"});
    EXPECT_EQ(defaults.options.output, "-");
    EXPECT_EQ(defaults.options.width, kDefaultLineWidth);
    EXPECT_EQ(defaults.options.lastPage, std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(defaults.options.order, TextOrder::Layout);
    EXPECT_EQ(Parse({"-w", "0", "--last", "2147483647", "a.pdf"}).action, CliAction::Convert);

    // Help and version act when met; an error before them wins.
    EXPECT_EQ(Parse({"--help", "--width", "x"}).action, CliAction::ShowHelp);
    EXPECT_EQ(Parse({"-V"}).action, CliAction::ShowVersion);
    EXPECT_EQ(Parse({"--width", "x", "--help"}).action, CliAction::UsageError);
}

TEST(CommandLine, UsageErrors) {
    const std::pair<std::vector<std::string>, const char*> cases[] = {
        {{}, "no PDF file given"},
        {{"--quiet"}, "no PDF file given"},
        {{"--width", "-1", "a.pdf"}, "--width needs a number, not '-1'"},
        {{"-w", "7x", "a.pdf"}, "--width needs a number, not '7x'"},
        {{"-w", "+5", "a.pdf"}, "--width needs a number, not '+5'"},
        {{"-w", " 5", "a.pdf"}, "--width needs a number, not ' 5'"},
        {{"--first", "", "a.pdf"}, "--first needs a number, not ''"},
        {{"--last", "2147483648", "a.pdf"}, "--last needs a number, not '2147483648'"},
        {{"--first", "3", "--last", "2", "a.pdf"}, "--first 3 comes after --last 2"},
        {{"a.pdf", "--width"}, "option --width needs a value"},
        {{"--order", "columns", "a.pdf"}, "--order is 'layout' or 'reading', not 'columns'"},
        {{"--frobnicate", "a.pdf"}, "unknown option --frobnicate"},
        {{"-x", "a.pdf"}, "unknown option -x"},
        {{"-o", "out.txt", "a.pdf", "b.pdf"},
         "-o names the output of a single PDF file, 2 were given"},
        {{"--encoding", "NO-SUCH-SET", "a.pdf"}, "unknown encoding 'NO-SUCH-SET'"},
        {{"--encoding", "UTF-16", "a.pdf"}, "unknown encoding 'UTF-16'"},
    };
    for (const auto& [arguments, error] : cases) {
        ParsedCommandLine parsed = Parse(arguments);
        EXPECT_EQ(parsed.action, CliAction::UsageError) << error;
        EXPECT_EQ(parsed.error, error);
    }
}

}  // namespace
}  // namespace tessary
