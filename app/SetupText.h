#pragma once

#include <string>

#include "measurements/MeasurementSetup.h"

namespace kelvane {

// The whole set-up in one line, for the bus trace: "W-CDMA 2140 MHz, 802.11a 5005 MHz, 802.11b
// 2412 MHz, reference level -10 dBm, GPIB board 1, address 18"; a path loss and the base
// station's power only when there are: "..., reference level 10 dBm, levels at the DUT, path loss
// 30 dB, base station 35 dBm, GPIB board 0, address 8" (a table by its file's name: "path loss
// table loss.csv").
std::string SetupDescription(const MeasurementSetup& setup);

// Only what differs from the default set-up, in the same words; empty for the default.
std::string SetupChanges(const MeasurementSetup& setup);

// A frequency in MHz as the set-up shows it: "2140", "2412.5", "0.0001".
std::string MegahertzText(double hz);

}  // namespace kelvane
