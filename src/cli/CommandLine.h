// The command line of tessary-convert: options and input files, read with
// getopt_long, each value checked before anything is converted.
#pragma once

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "platform/CodePage.h"
#include "text/TextFileConversion.h"

namespace tessary {

inline constexpr const char* kConverterName = "tessary-convert";

// What the converter was asked to do.
struct CliOptions {
    std::string programName = kConverterName;  // for messages: the program file's base name
    std::vector<std::string> inputs;
    // -o: the output of the single input; "-" is standard output.
    std::optional<std::string> output;
    std::int32_t width = kDefaultLineWidth;
    std::int32_t firstPage = 1;
    std::int32_t lastPage = std::numeric_limits<std::int32_t>::max();
    std::optional<std::string> password;
    CodePage codePage;  // --encoding, or the locale's
    TextOrder order = TextOrder::Layout;
    bool quiet = false;
};

enum class CliAction { Convert, ShowHelp, ShowVersion, UsageError };

struct ParsedCommandLine {
    CliAction action = CliAction::UsageError;
    CliOptions options;
    std::string error;  // for UsageError: what is wrong, without the program name
};

// Reads argv. Options may follow the files; "--" ends the options. --help and
// --version act as soon as they are met.
ParsedCommandLine ParseCommandLine(int argc, char* argv[]);

// A number of an option: decimal digits only, at most INT32_MAX.
std::optional<std::int32_t> ParseOptionNumber(const std::string& text);

std::string UsageText(const std::string& programName);
std::string VersionText();

}  // namespace tessary
