#include "charts/ChartAxes.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace kelvane {

namespace {

constexpr int kMaxIntervals = 10;
constexpr double kOffsetRoomShare = 0.025;  // of the largest offset
constexpr double kLevelRoomDb = 3.0;
constexpr double kLevelRoomShare = 0.05;  // of the levels' spread
constexpr double kLevelStepDb = 10.0;
// A quotient that misses a whole number by float noise only counts as that whole number.
constexpr double kWholeTolerance = 1e-9;

// The steps 1, 2, 5 x 10^k: the one after `step`.
double NextRoundStep(double step) {
    const double decade = std::pow(10.0, std::floor(std::log10(step) + kWholeTolerance));
    const double mantissa = std::round(step / decade);
    if (mantissa < 2) return 2 * decade;
    if (mantissa < 5) return 5 * decade;
    return 10 * decade;
}

// Ticks at whole multiples of `step` from first * step to last * step, each computed on its own
// so that no rounding error adds up.
std::vector<double> Ticks(double first, double last, double step) {
    std::vector<double> ticks;
    for (double i = first; i <= last; ++i) ticks.push_back(i * step);
    return ticks;
}

std::vector<double> Finite(const std::vector<double>& values) {
    std::vector<double> finite;
    std::copy_if(values.begin(), values.end(), std::back_inserter(finite),
                 [](double value) { return std::isfinite(value); });
    return finite;
}

}  // namespace

ChartAxis SymmetricOffsetAxis(std::string title, const std::vector<double>& offsetsMhz,
                              double mostHalfMhz) {
    const double most = std::isfinite(mostHalfMhz) && mostHalfMhz > 0
                            ? std::min(mostHalfMhz, kMostOffsetMhz)
                            : kMostOffsetMhz;
    double largest = 0;
    for (double offset : Finite(offsetsMhz)) largest = std::max(largest, std::abs(offset));
    const double half = largest > 0 ? std::min(largest * (1 + kOffsetRoomShare), most) : 1.0;
    // The largest power of ten not above a tenth of the width, then up the 1-2-5 steps.
    double step = std::pow(10.0, std::floor(std::log10(2 * half / kMaxIntervals)));
    double ticksEachSide = std::ceil(half / step - kWholeTolerance);
    while (2 * ticksEachSide > kMaxIntervals) {
        step = NextRoundStep(step);
        ticksEachSide = std::ceil(half / step - kWholeTolerance);
    }
    return {std::move(title), -ticksEachSide * step, ticksEachSide * step,
            Ticks(-ticksEachSide, ticksEachSide, step)};
}

ChartAxis LevelAxis(std::string title, const std::vector<double>& limitsDb,
                    const std::vector<double>& valuesDb) {
    const auto sane = [](double level) { return std::abs(level) <= kMostLevelDb; };
    std::vector<double> levels;
    std::copy_if(limitsDb.begin(), limitsDb.end(), std::back_inserter(levels), sane);
    double lowest = -kMostLevelDb;
    double highest = kMostLevelDb;
    if (!levels.empty()) {
        const auto [low, high] = std::minmax_element(levels.begin(), levels.end());
        lowest = *low - kLevelsBeyondLimitsDb;
        highest = *high + kLevelsBeyondLimitsDb;
    }
    std::copy_if(valuesDb.begin(), valuesDb.end(), std::back_inserter(levels),
                 [&](double level) { return sane(level) && lowest <= level && level <= highest; });
    double low = 0;
    double high = 0;
    if (!levels.empty()) {
        const auto [lowestHeld, highestHeld] = std::minmax_element(levels.begin(), levels.end());
        low = *lowestHeld;
        high = *highestHeld;
    }
    const double room = std::max(kLevelRoomDb, kLevelRoomShare * (high - low));
    double step = kLevelStepDb;
    double first = std::floor((low - room) / step);
    double last = std::ceil((high + room) / step);
    while (last - first > kMaxIntervals) {
        step = NextRoundStep(step);
        first = std::floor((low - room) / step);
        last = std::ceil((high + room) / step);
    }
    // + 0.0: an end at zero is +0, never -0 (ceil(-0.5) * 10); the ticks count up to +0.
    return {std::move(title), first * step + 0.0, last * step + 0.0, Ticks(first, last, step)};
}

}  // namespace kelvane
