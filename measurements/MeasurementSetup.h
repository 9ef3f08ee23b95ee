#pragma once

#include <optional>

#include "analyzer/AnalyzerAddress.h"
#include "measurements/PathLoss.h"

namespace kelvane {

// The bench's set-up: where the carriers under test are, the analyzer's reference level and
// where the analyzer sits on the bus; and for the judgement, the loss between the DUT and the
// analyzer and the base station's rated power. The defaults are the bench Kelvane was made for;
// only CF, RL and WLX commands and ibdev's address follow a set-up, never the spans, bandwidths
// and mask offsets; nothing that is sent follows the path loss or the power.
struct MeasurementSetup {
    double wcdmaCenterHz = 2000e6;    // the four W-CDMA measurements
    double wlan11aCenterHz = 5005e6;  // the 802.11a emission mask
    double wlan11bCenterHz = 2412e6;  // the 802.11b emission mask and total power
    double referenceLevelDbm = 0.0;   // dBm, all seven
    AnalyzerAddress address;
    PathLoss pathLoss;  // added to every absolute level to give the level at the DUT
    // The base station's rated maximum output power P (dBm): the W-CDMA mask rows are judged
    // against the standard's mask for P; without it, against the mask sent.
    std::optional<double> bsPowerDbm;

    bool operator==(const MeasurementSetup&) const = default;
};

}  // namespace kelvane
