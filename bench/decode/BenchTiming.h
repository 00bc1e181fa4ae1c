// Timing helpers of the decoder benchmarks.
#pragma once

#include <time.h>

#include <algorithm>
#include <functional>
#include <vector>

namespace tessary::bench {

// CPU time of this thread (user and system, page faults included), which
// other processes on a shared machine disturb less than wall time does.
inline double ThreadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// Runs each variant `repeats` times per round, the variants taking turns
// round after round, and keeps the best round of each.
inline std::vector<double> BestSeconds(int rounds, int repeats,
                                       const std::vector<std::function<void()>>& variants) {
    std::vector<double> best(variants.size(), 1e30);
    for (int round = 0; round < rounds; ++round) {
        for (std::size_t v = 0; v < variants.size(); ++v) {
            const double start = ThreadSeconds();
            for (int i = 0; i < repeats; ++i) {
                variants[v]();
            }
            best[v] = std::min(best[v], ThreadSeconds() - start);
        }
    }
    return best;
}

}  // namespace tessary::bench
