#include "simulator/traces/TraceComputer.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kelvane {

namespace {

// ceil(value), at most `max`: taken in double, so that a value beyond an int's range (a span of
// 1e300 Hz) never reaches the conversion.
int CeilAtMost(double value, int max) {
    const double rounded = std::ceil(value);
    return rounded < static_cast<double>(max) ? static_cast<int>(rounded) : max;
}

}  // namespace

void TraceComputer::Compute(const PowerDensity& input, const SweepSettings& settings,
                            Trace& trace) {
    const int points = std::max(settings.points, 1);
    const double spanHz = std::max(settings.stopHz - settings.startHz, 0.0);
    const double stepHz = points > 1 ? spanHz / (points - 1) : 0.0;
    // Finest grid step needed: half the RBW, and fine enough (50 kHz) for the steepest spectrum
    // feature.
    const double gridMaxHz = std::min(settings.rbwHz / 2.0, 50e3);

    // An odd number of grid samples per bin, at most 63, so each bin is centered on its point.
    constexpr int maxPerBin = 63;
    int perBin = 1;
    if (stepHz > gridMaxHz) {
        perBin = std::min(CeilAtMost(stepHz / gridMaxHz, maxPerBin) | 1, maxPerBin);
    }
    const double gridHz = stepHz > 0.0 ? stepHz / perBin : gridMaxHz;

    const double sigmaHz = settings.rbwHz / (2.0 * std::sqrt(2.0 * std::numbers::ln2));
    // The Gaussian kernel reaches 5 sigmas to each side, at most 2000 grid steps.
    const int halfWidth = CeilAtMost(5.0 * sigmaHz / gridHz, 2000);
    kernel_.resize(2 * halfWidth + 1);
    double kernelSum = 0.0;
    for (int t = -halfWidth; t <= halfWidth; ++t) {
        const double x = t * gridHz / sigmaHz;
        kernel_[t + halfWidth] = std::exp(-0.5 * x * x);
        kernelSum += kernel_[t + halfWidth];
    }
    // Exact noise bandwidth whatever the grid and the truncation.
    const double kernelScale = NoiseBandwidthHz(settings.rbwHz) / kernelSum;
    for (double& w : kernel_) w *= kernelScale;

    const int filteredCount = points * perBin;
    const int densityCount = filteredCount + 2 * halfWidth;
    const int binHalf = perBin / 2;  // samples on each side of a point's own
    const double firstHz = settings.startHz - (binHalf + halfWidth) * gridHz;
    density_.resize(densityCount);
    for (int j = 0; j < densityCount; ++j) density_[j] = input.MwPerHz(firstHz + j * gridHz);

    filtered_.resize(filteredCount);
    const int taps = 2 * halfWidth + 1;
    for (int j = 0; j < filteredCount; ++j) {
        const double* d = density_.data() + j;
        double sum = 0.0;
        for (int t = 0; t < taps; ++t) sum += kernel_[t] * d[t];
        filtered_[j] = sum;
    }

    trace.startHz = settings.startHz;
    trace.stepHz = stepHz;
    trace.rbwHz = settings.rbwHz;
    trace.powerMw.resize(points);
    for (int i = 0; i < points; ++i) {
        const double* bin = filtered_.data() + static_cast<std::ptrdiff_t>(i) * perBin;
        switch (settings.detector) {
        case Detector::PositivePeak:
            trace.powerMw[i] = *std::max_element(bin, bin + perBin) * settings.peakCrest;
            break;
        case Detector::Average: {
            double sum = 0.0;
            for (int q = 0; q < perBin; ++q) sum += bin[q];
            trace.powerMw[i] = sum / perBin;
            break;
        }
        case Detector::Sample:
            trace.powerMw[i] = bin[binHalf];
            break;
        }
    }
}

}  // namespace kelvane
