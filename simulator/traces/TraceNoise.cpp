#include "simulator/traces/TraceNoise.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kelvane {

namespace {

std::uint64_t SplitMix(std::uint64_t& state) {
    std::uint64_t z = (state += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

// Uniform in (0, 1].
double Uniform(std::uint64_t& state) {
    return (static_cast<double>(SplitMix(state) >> 11) + 1.0) * (1.0 / 9007199254740992.0);
}

}  // namespace

std::uint64_t TraceNoise::Key(std::uint64_t a, std::uint64_t b) {
    std::uint64_t state = a * 0x9E3779B97F4A7C15ULL ^ b;
    return SplitMix(state);
}

void TraceNoise::Apply(std::vector<double>& powerMw, double sigmaDb, int sweepsAveraged,
                       std::uint64_t sweepKey) {
    if (sigmaDb <= 0.0 || powerMw.empty()) return;
    const double sigma =
        sigmaDb / (10.0 / std::numbers::ln10) / std::sqrt(std::max(sweepsAveraged, 1));
    const double meanCorrection = -0.5 * sigma * sigma;
    std::uint64_t state = sweepKey;
    // Box-Muller gives two normal values per pair of uniforms.
    for (std::size_t i = 0; i < powerMw.size(); i += 2) {
        const double radius = std::sqrt(-2.0 * std::log(Uniform(state)));
        const double angle = 2.0 * std::numbers::pi * Uniform(state);
        powerMw[i] *= std::exp(sigma * radius * std::cos(angle) + meanCorrection);
        if (i + 1 < powerMw.size())
            powerMw[i + 1] *= std::exp(sigma * radius * std::sin(angle) + meanCorrection);
    }
}

}  // namespace kelvane
