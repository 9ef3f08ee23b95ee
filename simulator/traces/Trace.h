#pragma once

#include <cstddef>
#include <vector>

#include "simulator/instrument/InstrumentState.h"

namespace kelvane {

// How one sweep is taken: the frequencies of its points, the resolution bandwidth and the
// detector. peakCrest scales the positive peak detector's reading of noise-like signals.
struct SweepSettings {
    double startHz = 0.0;
    double stopHz = 0.0;
    int points = 1001;
    double rbwHz = 30e3;
    Detector detector = Detector::Average;
    double peakCrest = 1.0;

    bool operator==(const SweepSettings&) const = default;
};

// One sweep's result: the power at equally spaced points, in mW as the RBW filter sees it.
struct Trace {
    double startHz = 0.0;
    double stepHz = 0.0;
    double rbwHz = 0.0;
    std::vector<double> powerMw;

    double FrequencyHz(std::size_t index) const {
        return startHz + stepHz * static_cast<double>(index);
    }
};

}  // namespace kelvane
