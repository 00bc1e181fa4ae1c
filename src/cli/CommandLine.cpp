#include "cli/CommandLine.h"

#include <getopt.h>

#include <algorithm>
#include <charconv>
#include <initializer_list>

#include "cli/CliLimits.h"
#include "platform/SystemCodePage.h"

namespace tessary {

namespace {

enum class Option {
    Output,
    Width,
    First,
    Last,
    Password,
    Encoding,
    LineEnd,
    PageBreak,
    Order,
    Jobs,
    Quiet,
    Help,
    Version,
};

struct OptionSpec {
    Option id;
    const char* longName;
    char shortName;         // '\0': none
    const char* valueName;  // nullptr: the option takes no value
    const char* help;       // '\n' starts a continuation line
};

// In the order of --help. A new option is an entry here, a case in
// ApplyOption, and its paragraph in the manual page.
constexpr OptionSpec kOptions[] = {
    {Option::Output, "output", 'o', "PATH",
     "write the text of the single FILE to PATH ('-':\nstandard output)"},
    {Option::Width, "width", 'w', "N", "line width in characters (default 78)"},
    {Option::First, "first", 'f', "N", "first page to convert, counting from 1"},
    {Option::Last, "last", 'l', "N", "last page to convert (default: the last page)"},
    {Option::Password, "password", 'p', "PW", "password of encrypted files"},
    {Option::Encoding, "encoding", 'e', "NAME",
     "character set of the text: UTF-8, CP1252, ASCII or\nany name iconv knows (default: the "
     "locale's)"},
    {Option::LineEnd, "eol", '\0', "unix|dos", "line ends: LF (unix) or CR LF (dos, the default)"},
    {Option::PageBreak, "page-break", '\0', "KIND",
     "what marks each page: header (the default), a page\nheader line before it; formfeed, a "
     "form feed after\nit; none"},
    {Option::Order, "order", '\0', "KIND",
     "layout (the default), the lines as they lie across\nthe page; reading, columns one after "
     "another"},
    {Option::Jobs, "jobs", 'j', "N",
     "convert N files at once (default 1; 0: one per core;\nat most 64)"},
    {Option::Quiet, "quiet", 'q', nullptr, "no progress and no message on success"},
    {Option::Help, "help", 'h', nullptr, "show this help and exit"},
    {Option::Version, "version", 'V', nullptr, "show the version and exit"},
};
constexpr int kOptionCount = static_cast<int>(std::size(kOptions));
// getopt_long's code of each option: its index from here on.
constexpr int kFirstCode = 256;

std::string ProgramName(const char* argv0) {
    std::string name = argv0 ? argv0 : "";
    const std::size_t slash = name.rfind('/');
    if (slash != std::string::npos) {
        name.erase(0, slash + 1);
    }
    return name.empty() ? kConverterName : name;
}

const OptionSpec* FindOption(int code) {
    if (code >= kFirstCode && code < kFirstCode + kOptionCount) {
        return &kOptions[code - kFirstCode];
    }
    for (const OptionSpec& spec : kOptions) {
        if (spec.shortName != '\0' && spec.shortName == code) {
            return &spec;
        }
    }
    return nullptr;
}

// The long name of an option, for messages.
std::string OptionName(int code) {
    if (const OptionSpec* spec = FindOption(code)) {
        return std::string("--") + spec->longName;
    }
    return std::string("-") + static_cast<char>(code);
}

// The index of value among choices.
std::optional<int> ParseChoice(const std::string& value,
                               std::initializer_list<const char*> choices) {
    int index = 0;
    for (const char* choice : choices) {
        if (value == choice) {
            return index;
        }
        ++index;
    }
    return std::nullopt;
}

struct ParseState {
    ParsedCommandLine parsed;
    std::optional<std::string> encoding;
};

// Takes one option's value into the options; the error when it is wrong.
std::optional<std::string> ApplyOption(Option id, const std::string& value, ParseState& state) {
    CliOptions& options = state.parsed.options;
    ConversionOptions& conversion = options.conversion;
    std::int32_t* number = nullptr;
    switch (id) {
        case Option::Output:
            options.output = value;
            break;
        case Option::Width:
            number = &conversion.width;
            break;
        case Option::First:
            number = &conversion.firstPage;
            break;
        case Option::Last:
            number = &conversion.lastPage;
            break;
        case Option::Password:
            options.password = value;
            break;
        case Option::Encoding:
            state.encoding = value;
            break;
        case Option::LineEnd:
            if (const std::optional<int> choice = ParseChoice(value, {"dos", "unix"})) {
                conversion.lineEnd = static_cast<LineEnd>(*choice);
                break;
            }
            return "--eol takes unix or dos, not '" + value + "'";
        case Option::PageBreak:
            if (const std::optional<int> choice =
                    ParseChoice(value, {"header", "formfeed", "none"})) {
                conversion.pageBreak = static_cast<PageBreak>(*choice);
                break;
            }
            return "--page-break takes header, formfeed or none, not '" + value + "'";
        case Option::Order:
            if (const std::optional<int> choice = ParseChoice(value, {"layout", "reading"})) {
                conversion.order = static_cast<TextOrder>(*choice);
                break;
            }
            return "--order takes layout or reading, not '" + value + "'";
        case Option::Jobs:
            number = &options.jobs;
            break;
        case Option::Quiet:
            options.quiet = true;
            break;
        case Option::Help:
        case Option::Version:
            break;  // acted upon by the caller
    }
    if (number) {
        const std::optional<std::int32_t> parsed = ParseOptionNumber(value);
        if (!parsed) {
            const auto spec =
                std::find_if(std::begin(kOptions), std::end(kOptions),
                             [id](const OptionSpec& entry) { return entry.id == id; });
            return std::string("--") + spec->longName + " needs a number, not '" + value + "'";
        }
        *number = *parsed;
    }
    return std::nullopt;
}

ParsedCommandLine UsageError(ParsedCommandLine parsed, std::string error) {
    parsed.action = CliAction::UsageError;
    parsed.error = std::move(error);
    return parsed;
}

// What is wrong with the options as a whole.
std::optional<std::string> CheckOptions(ParseState& state) {
    CliOptions& options = state.parsed.options;
    const ConversionOptions& conversion = options.conversion;
    if (options.inputs.empty()) {
        return "no PDF file given";
    }
    if (options.output && options.inputs.size() > 1) {
        return "-o names the output of a single PDF file, " +
               std::to_string(options.inputs.size()) + " were given";
    }
    if (std::count(options.inputs.begin(), options.inputs.end(), kStandardStream) > 1) {
        return "standard input ('-') can be read only once";
    }
    if (conversion.firstPage > conversion.lastPage) {
        return "--first " + std::to_string(conversion.firstPage) + " comes after --last " +
               std::to_string(conversion.lastPage);
    }
    if (state.encoding) {
        std::optional<CodePage> codePage = CodePage::FromName(*state.encoding);
        if (!codePage) {
            return "unknown encoding '" + *state.encoding + "'";
        }
        options.conversion.codePage = *codePage;
    } else {
        options.conversion.codePage = GetSystemCodePage();
    }
    options.jobs = std::min(options.jobs, kMaxJobs);
    return std::nullopt;
}

}  // namespace

std::optional<std::int32_t> ParseOptionNumber(const std::string& text) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    std::int32_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || stop != end) {
        return std::nullopt;  // beyond INT32_MAX
    }
    return value;
}

ParsedCommandLine ParseCommandLine(int argc, char* argv[]) {
    std::vector<option> longOptions;
    // Leading ':' makes getopt report a missing argument as ':' and print nothing.
    std::string shortOptions = ":";
    for (int i = 0; i < kOptionCount; ++i) {
        const OptionSpec& spec = kOptions[i];
        const int argument = spec.valueName ? required_argument : no_argument;
        longOptions.push_back({spec.longName, argument, nullptr, kFirstCode + i});
        if (spec.shortName != '\0') {
            shortOptions += spec.shortName;
            shortOptions += spec.valueName ? ":" : "";
        }
    }
    longOptions.push_back({nullptr, 0, nullptr, 0});

    ParseState state;
    ParsedCommandLine& parsed = state.parsed;
    parsed.options.programName = ProgramName(argc > 0 ? argv[0] : nullptr);
    optind = 0;  // a fresh scan, also when called again
    opterr = 0;
    int code;
    while ((code = getopt_long(argc, argv, shortOptions.c_str(), longOptions.data(), nullptr)) !=
           -1) {
        if (code == ':') {
            return UsageError(std::move(parsed), "option " + OptionName(optopt) + " needs a value");
        }
        const OptionSpec* spec = FindOption(code);
        if (!spec) {  // '?'
            if (optopt != 0) {
                return UsageError(std::move(parsed),
                                  std::string("unknown option -") + static_cast<char>(optopt));
            }
            return UsageError(std::move(parsed), std::string("unknown option ") + argv[optind - 1]);
        }
        if (spec->id == Option::Help || spec->id == Option::Version) {
            parsed.action = spec->id == Option::Help ? CliAction::ShowHelp : CliAction::ShowVersion;
            return parsed;
        }
        if (std::optional<std::string> error = ApplyOption(spec->id, optarg ? optarg : "", state)) {
            return UsageError(std::move(parsed), std::move(*error));
        }
    }
    parsed.options.inputs.assign(argv + optind, argv + argc);
    if (std::optional<std::string> error = CheckOptions(state)) {
        return UsageError(std::move(parsed), std::move(*error));
    }
    parsed.action = CliAction::Convert;
    return parsed;
}

std::string UsageText(const std::string& programName) {
    std::string text = "Usage: " + programName +
                       " [OPTION]... FILE.pdf...\n"
                       "Convert the pages of each PDF file into plain text, written to the file "
                       "of the\n"
                       "same name with the extension .txt. A FILE of '-' is read from standard "
                       "input;\n"
                       "its text goes to standard output unless -o names another place.\n"
                       "\n";
    // The option column, wide enough for the longest option.
    std::vector<std::string> names;
    std::size_t column = 0;
    for (const OptionSpec& spec : kOptions) {
        std::string name = spec.shortName != '\0' ? std::string("  -") + spec.shortName + ", "
                                                  : std::string(6, ' ');
        name += std::string("--") + spec.longName;
        if (spec.valueName) {
            name += std::string(" ") + spec.valueName;
        }
        column = std::max(column, name.size() + 2);
        names.push_back(std::move(name));
    }
    for (int i = 0; i < kOptionCount; ++i) {
        std::string help = kOptions[i].help;
        for (std::size_t at = 0; (at = help.find('\n', at)) != std::string::npos;
             at += column + 1) {
            help.insert(at + 1, column, ' ');
        }
        text += names[static_cast<std::size_t>(i)];
        text.append(column - names[static_cast<std::size_t>(i)].size(), ' ');
        text += help + "\n";
    }
    return text +
           "\n"
           "Without --password, an encrypted file asks for its password on the terminal when\n"
           "standard input is one, and fails otherwise. Messages go to standard error, one\n"
           "line per message, in the order of the files, also with --jobs.\n"
           "Exit status: 0 when every file was converted, 1 when one failed, 2 for a wrong\n"
           "command line.\n";
}

std::string VersionText() {
    return std::string(kConverterName) + " " TESSARY_VERSION "\n";
}

}  // namespace tessary
