#include "simulator/traces/TracePower.h"

#include <algorithm>
#include <cmath>

#include "simulator/traces/TraceComputer.h"

namespace kelvane {

double TracePower::ChannelMw(const Trace& trace, double centerHz, double widthHz) {
    if (trace.powerMw.empty() || trace.stepHz <= 0.0) return 0.0;
    const double low = centerHz - widthHz / 2.0;
    const double high = centerHz + widthHz / 2.0;
    const double step = trace.stepHz;
    const auto last = static_cast<long>(trace.powerMw.size()) - 1;
    const long first =
        std::clamp(static_cast<long>(std::floor((low - trace.startHz) / step)), 0L, last);
    const long end =
        std::clamp(static_cast<long>(std::ceil((high - trace.startHz) / step)), 0L, last);
    double sum = 0.0;
    for (long i = first; i <= end; ++i) {
        const double binLow = trace.FrequencyHz(i) - step / 2.0;
        const double overlap = std::min(binLow + step, high) - std::max(binLow, low);
        if (overlap > 0.0) sum += trace.powerMw[i] * overlap;
    }
    return sum / TraceComputer::NoiseBandwidthHz(trace.rbwHz);
}

double TracePower::TotalMw(const Trace& trace) {
    double sum = 0.0;
    for (double p : trace.powerMw) sum += p;
    return sum * trace.stepHz / TraceComputer::NoiseBandwidthHz(trace.rbwHz);
}

TracePower::Occupied TracePower::OccupiedBandwidth(const Trace& trace, double percent) {
    const auto& p = trace.powerMw;
    if (p.empty()) return {};
    double total = 0.0;
    for (double v : p) total += v;
    const double outside = total * (1.0 - percent / 100.0) / 2.0;
    const double step = trace.stepHz;

    // Lower edge: where the running sum from below reaches the outside share.
    double below = 0.0;
    double lowHz = trace.FrequencyHz(0) - step / 2.0;
    for (std::size_t i = 0; i < p.size(); ++i) {
        if (below + p[i] >= outside) {
            const double fraction = p[i] > 0.0 ? (outside - below) / p[i] : 0.0;
            lowHz = trace.FrequencyHz(i) - step / 2.0 + fraction * step;
            break;
        }
        below += p[i];
    }
    double above = 0.0;
    double highHz = trace.FrequencyHz(p.size() - 1) + step / 2.0;
    for (std::size_t i = p.size(); i-- > 0;) {
        if (above + p[i] >= outside) {
            const double fraction = p[i] > 0.0 ? (outside - above) / p[i] : 0.0;
            highHz = trace.FrequencyHz(i) + step / 2.0 - fraction * step;
            break;
        }
        above += p[i];
    }
    return {(lowHz + highHz) / 2.0, highHz - lowHz};
}

std::size_t TracePower::PeakIndex(const Trace& trace) {
    const auto& p = trace.powerMw;
    return static_cast<std::size_t>(std::max_element(p.begin(), p.end()) - p.begin());
}

std::size_t TracePower::NearestIndex(const Trace& trace, double frequencyHz) {
    if (trace.powerMw.empty() || trace.stepHz <= 0.0) return 0;
    const double position = std::round((frequencyHz - trace.startHz) / trace.stepHz);
    const auto last = static_cast<double>(trace.powerMw.size() - 1);
    return static_cast<std::size_t>(std::clamp(position, 0.0, last));
}

double TracePower::Dbm(double powerMw) { return 10.0 * std::log10(std::max(powerMw, 1e-30)); }

}  // namespace kelvane
