#pragma once

#include <string>

#include "results/MeasurementRecord.h"

namespace kelvane {

// The file name stem of a record's chart: "<measurement>-<UTC yyyymmddThhmmssZ>", e.g.
// "acp-20261209T141950Z".
std::string ChartFileStem(const MeasurementRecord& record);

}  // namespace kelvane
