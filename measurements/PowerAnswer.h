#pragma once

#include <string>

#include "measurements/MeasurementRun.h"

namespace kelvane {

// The end of both power measurements: sends `query`, reads its one number (the power in dBm,
// at the start of a 50-character answer), sets the analyzer back and logs
// "ChPower = <power>dBm", recording the power as `valueName`. A power that the analyzer never
// reported is a failure, never 0 dBm.
void LogPowerAnswer(MeasurementRun& run, const std::string& query, const std::string& valueName);

}  // namespace kelvane
