#pragma once

#include <cstdint>
#include <vector>

namespace kelvane {

// Sweep-to-sweep variation of a trace. Each point is multiplied by a log-normal factor of mean 1
// (so integrated powers stay unbiased) whose spread is sigmaDb / sqrt(sweeps averaged). The
// factors come from a small counter-based generator keyed by the sweep, so the same sweep gives
// the same trace however often and in whatever order it is asked for.
class TraceNoise {
public:
    static void Apply(std::vector<double>& powerMw, double sigmaDb, int sweepsAveraged,
                      std::uint64_t sweepKey);

    // Mixes values into a key (for the seed, the run, the sweep and the segment).
    static std::uint64_t Key(std::uint64_t a, std::uint64_t b);
};

}  // namespace kelvane
