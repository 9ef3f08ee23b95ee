#pragma once

#include <string>

#include "fuzz/RunCheck.h"

namespace kelvane::fuzz {

// The run's driver calls and log as readable text, for looking into a saved input
// (KELVANE_FUZZ_TRACE=1 ./MeasurementFuzzer crash-...).
std::string RunTrace(const RunRecord& run);

}  // namespace kelvane::fuzz
