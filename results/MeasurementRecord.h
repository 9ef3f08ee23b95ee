#pragma once

#include <chrono>
#include <string>

#include "measurements/MeasurementResult.h"
#include "measurements/MeasurementSetup.h"
#include "results/RecordOrigin.h"
#include "results/Verdict.h"

namespace kelvane {

// Everything kept of one run of a measurement: what ran, when, where, with which set-up, how it
// ended and what it gave, judged.
struct MeasurementRecord {
    std::string measurement;  // the batch name, e.g. "acp"
    std::chrono::system_clock::time_point started;
    double durationS = 0;
    std::string bus;  // "gpib", "simulated", "lan:HOST:PORT" or "usb:DEVICE"
    MeasurementSetup setup;
    std::string version;  // Kelvane's
    RecordOrigin origin;  // which DUT, operator and station
    // One UUID per program run (a batch, or a window session) and one per record, lower case
    // "xxxxxxxx-xxxx-4xxx-yxxx-xxxxxxxxxxxx".
    std::string runId;
    std::string recordId;
    MeasurementResult result;
    Judgement judgement;
};

}  // namespace kelvane
