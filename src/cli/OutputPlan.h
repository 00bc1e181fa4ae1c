// Where the text of each input of a run goes, decided before any conversion
// starts, so that conversions running at once end as they would one after
// the other: inputs whose text files are one file (x.pdf and x, a file given
// twice, a link and its target) take turns, and no text file may replace
// another input of the run.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "cli/CommandLine.h"

namespace tessary {

// What messages call standard input and standard output.
inline constexpr const char* kStandardInputName = "(standard input)";
inline constexpr const char* kStandardOutputName = "(standard output)";

struct PlannedOutput {
    std::string input;  // as given; kStandardStream for standard input
    std::string name;   // the input's name in messages
    bool toStandardOutput = false;
    std::string path;  // the text file, unless toStandardOutput
    // The last input before this one whose text file is the same file.
    std::optional<std::size_t> sharesWith;
    // Another input of the run that is this input's text file.
    std::optional<std::size_t> replacesInput;
};

std::vector<PlannedOutput> PlanOutputs(const CliOptions& options);

}  // namespace tessary
