#include "cli/CommandLine.h"

#include <getopt.h>

#include <charconv>

#include "platform/SystemCodePage.h"

namespace tessary {

namespace {

// Long options without a short form.
enum : int { kFirstOption = 256, kLastOption, kOrderOption };

constexpr option kLongOptions[] = {
    {"width", required_argument, nullptr, 'w'},
    {"first", required_argument, nullptr, kFirstOption},
    {"last", required_argument, nullptr, kLastOption},
    {"password", required_argument, nullptr, 'p'},
    {"encoding", required_argument, nullptr, 'e'},
    {"output", required_argument, nullptr, 'o'},
    {"order", required_argument, nullptr, kOrderOption},
    {"quiet", no_argument, nullptr, 'q'},
    {"help", no_argument, nullptr, 'h'},
    {"version", no_argument, nullptr, 'V'},
    {nullptr, 0, nullptr, 0},
};

// Leading ':' makes getopt report a missing argument as ':' and print nothing.
constexpr const char* kShortOptions = ":w:p:e:o:qhV";

std::string ProgramName(const char* argv0) {
    std::string name = argv0 ? argv0 : "";
    const std::size_t slash = name.rfind('/');
    if (slash != std::string::npos) {
        name.erase(0, slash + 1);
    }
    return name.empty() ? kConverterName : name;
}

// The long name of an option, for messages.
std::string OptionName(int code) {
    for (const option& entry : kLongOptions) {
        if (entry.name && entry.val == code) {
            return std::string("--") + entry.name;
        }
    }
    return std::string("-") + static_cast<char>(code);
}

ParsedCommandLine UsageError(ParsedCommandLine parsed, std::string error) {
    parsed.action = CliAction::UsageError;
    parsed.error = std::move(error);
    return parsed;
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
    ParsedCommandLine parsed;
    CliOptions& options = parsed.options;
    options.programName = ProgramName(argc > 0 ? argv[0] : nullptr);
    std::optional<std::string> encoding;

    optind = 0;  // a fresh scan, also when called again
    opterr = 0;
    int code;
    while ((code = getopt_long(argc, argv, kShortOptions, kLongOptions, nullptr)) != -1) {
        const std::string argument = optarg ? optarg : "";
        std::int32_t* number = nullptr;
        switch (code) {
            case 'w':
                number = &options.width;
                break;
            case kFirstOption:
                number = &options.firstPage;
                break;
            case kLastOption:
                number = &options.lastPage;
                break;
            case 'p':
                options.password = argument;
                break;
            case 'e':
                encoding = argument;
                break;
            case 'o':
                options.output = argument;
                break;
            case kOrderOption:
                if (argument == "layout") {
                    options.order = TextOrder::Layout;
                } else if (argument == "reading") {
                    options.order = TextOrder::Reading;
                } else {
                    return UsageError(std::move(parsed), "--order is 'layout' or 'reading', not '" +
                                                             argument + "'");
                }
                break;
            case 'q':
                options.quiet = true;
                break;
            case 'h':
                parsed.action = CliAction::ShowHelp;
                return parsed;
            case 'V':
                parsed.action = CliAction::ShowVersion;
                return parsed;
            case ':':
                return UsageError(std::move(parsed),
                                  "option " + OptionName(optopt) + " needs a value");
            default:  // '?'
                if (optopt != 0) {
                    return UsageError(std::move(parsed),
                                      std::string("unknown option -") + static_cast<char>(optopt));
                }
                return UsageError(std::move(parsed),
                                  std::string("unknown option ") + argv[optind - 1]);
        }
        if (number) {
            const std::optional<std::int32_t> value = ParseOptionNumber(argument);
            if (!value) {
                return UsageError(std::move(parsed),
                                  OptionName(code) + " needs a number, not '" + argument + "'");
            }
            *number = *value;
        }
    }
    options.inputs.assign(argv + optind, argv + argc);

    if (options.inputs.empty()) {
        return UsageError(std::move(parsed), "no PDF file given");
    }
    if (options.output && options.inputs.size() > 1) {
        return UsageError(std::move(parsed), "-o names the output of a single PDF file, " +
                                                 std::to_string(options.inputs.size()) +
                                                 " were given");
    }
    if (options.firstPage > options.lastPage) {
        return UsageError(std::move(parsed), "--first " + std::to_string(options.firstPage) +
                                                 " comes after --last " +
                                                 std::to_string(options.lastPage));
    }
    if (encoding) {
        std::optional<CodePage> codePage = CodePage::FromName(*encoding);
        if (!codePage) {
            return UsageError(std::move(parsed), "unknown encoding '" + *encoding + "'");
        }
        options.codePage = *codePage;
    } else {
        options.codePage = GetSystemCodePage();
    }
    parsed.action = CliAction::Convert;
    return parsed;
}

std::string UsageText(const std::string& programName) {
    return "Usage: " + programName +
           " [OPTION]... FILE.pdf...\n"
           "Convert the pages of each PDF file into plain text, written to the file of the\n"
           "same name with the extension .txt.\n"
           "\n"
           "  -o, --output PATH     write the text of the single FILE to PATH ('-': standard\n"
           "                        output)\n"
           "  -w, --width N         line width in characters (default " +
           std::to_string(kDefaultLineWidth) +
           ")\n"
           "      --first N         first page to convert, counting from 1\n"
           "      --last N          last page to convert (default: the last page)\n"
           "      --order ORDER     'layout': lines as they lie across the page (default);\n"
           "                        'reading': columns one after another\n"
           "  -p, --password PW     password of encrypted files\n"
           "  -e, --encoding NAME   character set of the text: UTF-8, CP1252, ASCII or any\n"
           "                        name iconv knows (default: the locale's)\n"
           "  -q, --quiet           no progress and no message on success\n"
           "  -h, --help            show this help and exit\n"
           "  -V, --version         show the version and exit\n"
           "\n"
           "Without --password, an encrypted file asks for its password on the terminal when\n"
           "standard input is one, and fails otherwise.\n"
           "Exit status: 0 when every file was converted, 1 when one failed, 2 for a wrong\n"
           "command line.\n";
}

std::string VersionText() {
    return std::string(kConverterName) + " " TESSARY_VERSION "\n";
}

}  // namespace tessary
