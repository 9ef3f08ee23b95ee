#pragma once

#include <vector>

#include "results/MeasurementRecord.h"

namespace kelvane {

// The records of the newest DUT: back from the newest record to the first one of another DUT
// (origin.dut compared byte for byte; no DUT named is a DUT of its own). All of them while the
// DUT never changed; none of none.
std::vector<MeasurementRecord> RecordsOfNewestDut(const std::vector<MeasurementRecord>& records);

}  // namespace kelvane
