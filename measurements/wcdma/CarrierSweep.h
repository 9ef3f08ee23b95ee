#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kelvane {

// The commands that open the W-CDMA measurements sweeping around their carrier (channel power,
// OBW, ACP), in the order the analyzer has always been sent them: the preset ("SI"), the span,
// the carrier, the reference level, the resolution and video bandwidths, and the automatic sweep
// time ("AS"). span: as the command writes it ("10e6HZ"); bandwidths: the RB and VB command as
// the measurement has always sent it ("RB 30e3HZ; VB 30e3HZ").
std::vector<std::string> CarrierSweepOpening(std::string_view span, double centerHz,
                                             double referenceLevelDbm, std::string_view bandwidths);

// The commands that end a measurement's settings by averaging its next 10 sweeps, once, and
// sweeping on: "AGSGL", "AG 10", "AGR", "CONTS". MeasurementRun::WaitForAveragedSweeps waits for
// the average.
std::vector<std::string> TenSweepsAveraged();

}  // namespace kelvane
