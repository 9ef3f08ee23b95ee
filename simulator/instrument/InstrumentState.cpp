#include "simulator/instrument/InstrumentState.h"

#include <algorithm>
#include <cmath>

namespace kelvane {

namespace {

constexpr double kMinSweepTimeS = 0.005;
constexpr double kSweepTimeFactor = 2.5;

// The nearest value of the 1-3-10 sequence, compared on a log scale.
double NearestOneThree(double value) {
    const double decade = std::pow(10.0, std::floor(std::log10(value)));
    const double candidates[] = {decade, 3.0 * decade, 10.0 * decade};
    double best = candidates[0];
    for (double c : candidates)
        if (std::abs(std::log(c / value)) < std::abs(std::log(best / value))) best = c;
    return best;
}

}  // namespace

void InstrumentState::Preset() {
    auto maskTableKept = std::move(maskTable);
    auto channelsKept = std::move(adjacentChannels);
    *this = InstrumentState{};
    maskTable = std::move(maskTableKept);
    adjacentChannels = std::move(channelsKept);
}

double InstrumentState::EffectiveRbwHz() const {
    if (!rbwAuto) return rbwHz;
    return std::clamp(NearestOneThree(spanHz / 100.0), 1.0e3, 3.0e6);
}

double InstrumentState::EffectiveVbwHz() const { return vbwAuto ? EffectiveRbwHz() : vbwHz; }

double InstrumentState::EffectiveSweepTimeS() const {
    if (!sweepTimeAuto) return sweepTimeS;
    const double rbw = EffectiveRbwHz();
    const double coupled = kSweepTimeFactor * spanHz / (rbw * std::min(rbw, EffectiveVbwHz()));
    return std::clamp(coupled, kMinSweepTimeS, kMaxSweepTimeS);
}

double InstrumentState::PowerChannelCenterHz() const {
    return powerChannelCenterSet ? powerChannelCenterHz : centerHz;
}

}  // namespace kelvane
