#pragma once

#include <string>
#include <vector>

#include "fuzz/DriverCall.h"
#include "fuzz/MeasurementRules.h"
#include "fuzz/RecordingLog.h"
#include "measurements/MeasurementContext.h"

namespace kelvane::fuzz {

// Everything one measurement run left behind.
struct RunRecord {
    bool driverMissing = false;       // the driver library could not be had
    bool registrationFailed = false;  // the run ended in GpibRegistrationFailure
    MeasurementOutcome outcome = MeasurementOutcome::Completed;
    std::vector<DriverCall> calls;
    std::vector<LogAppend> appends;
    std::vector<std::string> messages;  // shown by the binding
};

// Checks the properties every run must keep, whatever the analyzer and the driver did: the
// session frame on the bus, the commands within the measurement's vocabulary, and a log of
// well-formed lines in their order. Aborts on the first broken one.
void CheckRun(const MeasurementRules& rules, const RunRecord& run);

}  // namespace kelvane::fuzz
