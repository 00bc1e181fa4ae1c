#include "cli/CommandLine.h"

#include <gtest/gtest.h>

#include <limits>
#include <regex>
#include <set>

#include "cli/CliLimits.h"
#include "support/TestSupport.h"

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
        Parse({"a.pdf",    "--width", "0078", "--first=2", "-l",      "5",    "-q",
               "-p",       "secret",  "-e",   "cp1252",    "--eol",   "unix", "--page-break",
               "formfeed", "-j",      "3",    "--order",   "reading", "-",    "--",
               "-b.pdf"});
    ASSERT_EQ(parsed.action, CliAction::Convert) << parsed.error;
    const CliOptions& options = parsed.options;
    const ConversionOptions& conversion = options.conversion;
    EXPECT_EQ(options.programName, "tessary-convert");
    EXPECT_EQ(options.inputs, (std::vector<std::string>{"a.pdf", "-", "-b.pdf"}));
    EXPECT_EQ(conversion.width, 78);
    EXPECT_EQ(conversion.firstPage, 2);
    EXPECT_EQ(conversion.lastPage, 5);
    EXPECT_EQ(conversion.codePage.GetNumber(), 1252);
    EXPECT_EQ(conversion.lineEnd, LineEnd::Unix);
    EXPECT_EQ(conversion.pageBreak, PageBreak::FormFeed);
    EXPECT_EQ(conversion.order, TextOrder::Reading);
    EXPECT_EQ(options.jobs, 3);
    EXPECT_TRUE(options.quiet);
    EXPECT_EQ(options.password, "secret");
    EXPECT_FALSE(options.output);

    ParsedCommandLine defaults = Parse({"-o", "-", "-f", "1", "a.pdf"});
    EXPECT_EQ(defaults.options.output, "-");
    EXPECT_EQ(defaults.options.conversion.width, kDefaultLineWidth);
    EXPECT_EQ(defaults.options.conversion.lastPage, std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(defaults.options.conversion.lineEnd, LineEnd::Dos);
    EXPECT_EQ(defaults.options.conversion.pageBreak, PageBreak::Header);
    EXPECT_EQ(defaults.options.conversion.order, TextOrder::Layout);
    EXPECT_EQ(defaults.options.jobs, 1);
    ParsedCommandLine others = Parse({"--eol", "dos", "--page-break", "none", "a.pdf"});
    EXPECT_EQ(others.options.conversion.lineEnd, LineEnd::Dos);
    EXPECT_EQ(others.options.conversion.pageBreak, PageBreak::None);
    EXPECT_EQ(Parse({"--jobs", "100000", "a.pdf"}).options.jobs, kMaxJobs);
    EXPECT_EQ(Parse({"-w", "0", "--last", "2147483647", "-j", "0", "a.pdf"}).action,
              CliAction::Convert);

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
        {{"-w", " 5", "a.pdf"}, "--width needs a number, not ' 5'"},
        {{"-f", "", "a.pdf"}, "--first needs a number, not ''"},
        {{"--last", "2147483648", "a.pdf"}, "--last needs a number, not '2147483648'"},
        {{"-j", "-2", "a.pdf"}, "--jobs needs a number, not '-2'"},
        {{"--first", "3", "-l", "2", "a.pdf"}, "--first 3 comes after --last 2"},
        {{"--eol", "mac", "a.pdf"}, "--eol takes unix or dos, not 'mac'"},
        {{"--page-break", "Header", "a.pdf"},
         "--page-break takes header, formfeed or none, not 'Header'"},
        {{"--order", "columns", "a.pdf"}, "--order takes layout or reading, not 'columns'"},
        {{"a.pdf", "--width"}, "option --width needs a value"},
        {{"--frobnicate", "a.pdf"}, "unknown option --frobnicate"},
        {{"-x", "a.pdf"}, "unknown option -x"},
        {{"-o", "out.txt", "a.pdf", "b.pdf"},
         "-o names the output of a single PDF file, 2 were given"},
        {{"-", "a.pdf", "-"}, "standard input ('-') can be read only once"},
        {{"--encoding", "NO-SUCH-SET", "a.pdf"}, "unknown encoding 'NO-SUCH-SET'"},
    };
    for (const auto& [arguments, error] : cases) {
        ParsedCommandLine parsed = Parse(arguments);
        EXPECT_EQ(parsed.action, CliAction::UsageError) << error;
        EXPECT_EQ(parsed.error, error);
    }
}

// Plain text: roff's escapes taken out, every run of blanks and line ends one blank.
std::string Flatten(std::string text) {
    text = std::regex_replace(text, std::regex(R"(\\f[BIRP]|^\.\w+ ?|")"), "");
    text = std::regex_replace(text, std::regex(R"(\\-)"), "-");
    return std::regex_replace(text, std::regex(R"(\s+)"), " ");
}

// --help and the manual page offer the same options with the same words.
TEST(CommandLine, HelpAndManualPageAgree) {
    const std::string help = UsageText(kConverterName);
    const std::string manual = test::ReadFileBytes(TESSARY_CONVERT_MANUAL);
    const std::regex option(R"((?:^|\s)--([a-z][a-z-]+))");
    auto options = [&option](const std::string& text) {
        std::set<std::string> names;
        for (std::sregex_iterator it(text.begin(), text.end(), option), end; it != end; ++it) {
            names.insert((*it)[1]);
        }
        return names;
    };
    EXPECT_EQ(options(Flatten(manual)), options(help));
    // Each option's description: the words after its name, up to the next option.
    const std::regex described(R"(\n  (?:-\w, |    )--\S+(?: \S+)?  +((?:[^\n]|\n {10,})+))");
    const std::string flatManual = Flatten(manual);
    int count = 0;
    for (std::sregex_iterator it(help.begin(), help.end(), described), end; it != end; ++it) {
        const std::string text = Flatten((*it)[1]);
        EXPECT_NE(flatManual.find(text), std::string::npos) << text;
        ++count;
    }
    EXPECT_GE(count, 12);
}

}  // namespace
}  // namespace tessary
