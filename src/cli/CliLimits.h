// Bounds on what the command line and standard input can make the converter do.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tessary {

// Conversions run at once (-j): each holds a document in memory, and beyond
// a few per core more threads only wait for each other and the disk.
inline constexpr std::int32_t kMaxJobs = 64;

// A PDF file read from standard input is held in memory for the whole
// conversion; a larger one should be given by its name.
inline constexpr std::int64_t kMaxStandardInputSize = std::int64_t{2} * 1024 * 1024 * 1024;

}  // namespace tessary
