#pragma once

#include "analyzer/AnalyzerAddress.h"

namespace kelvane {

// The bench's set-up: where the carriers under test are, the analyzer's reference level and
// where the analyzer sits on the bus. The defaults are the bench Kelvane was made for; only CF,
// RL and WLX commands and ibdev's address follow a set-up, never the spans, bandwidths and mask
// offsets.
struct MeasurementSetup {
    double wcdmaCenterHz = 2000e6;    // the four W-CDMA measurements
    double wlan11aCenterHz = 5005e6;  // the 802.11a emission mask
    double wlan11bCenterHz = 2412e6;  // the 802.11b emission mask and total power
    double referenceLevelDb = 0.0;    // all seven
    AnalyzerAddress address;

    bool operator==(const MeasurementSetup&) const = default;
};

}  // namespace kelvane
