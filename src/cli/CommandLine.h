// The command line of tessary-convert: options and input files, read with
// getopt_long, each value checked before anything is converted.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "text/TextFileConversion.h"

namespace tessary {

inline constexpr const char* kConverterName = "tessary-convert";
// As an input, standard input; as -o, standard output.
inline constexpr const char* kStandardStream = "-";

// What the converter was asked to do.
struct CliOptions {
    std::string programName = kConverterName;  // for messages: the program file's base name
    std::vector<std::string> inputs;           // kStandardStream: standard input
    // -o: the output of the single input; kStandardStream is standard output.
    std::optional<std::string> output;
    // Width, page range, code page (--encoding, or the locale's) and form of
    // the text; the progress callback is the converter's own.
    ConversionOptions conversion;
    std::optional<std::string> password;
    std::int32_t jobs = 1;  // 0: one per core
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
