#pragma once

#include <string>

#include "measurements/MeasurementSetup.h"

namespace kelvane {

// The window's title: "Kelvane (V1.2)", marked "[simulated analyzer]" on the simulator and
// with the bus as the operator named it when it is not the GPIB library, e.g.
// "Kelvane (V1.2) [lan:192.0.2.7]"; then what the set-up changes from the default, e.g.
// "Kelvane (V1.2) - W-CDMA 2140 MHz, reference level -10 dBm, levels at the DUT, path loss
// 30 dB" (SetupChanges). busText: "gpib", "lan:...", "usb:...".
std::string WindowCaption(bool simulated, const std::string& busText,
                          const MeasurementSetup& setup = {});

}  // namespace kelvane
