// The work of tessary-convert: the input files converted one after the other
// or several at once, each outcome reported on standard error in the order of
// the files, the exit status summing them up.
#pragma once

#include <cstdint>

#include "cli/CommandLine.h"

namespace tessary {

inline constexpr int kExitConverted = 0;  // every file converted
inline constexpr int kExitFailed = 1;     // at least one file failed
inline constexpr int kExitUsage = 2;      // the command line was wrong

// A conversion of more pages than this shows its progress on a terminal.
inline constexpr std::int64_t kProgressMinimumPages = 3;

int RunConversions(const CliOptions& options);

}  // namespace tessary
