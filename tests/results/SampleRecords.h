#pragma once

#include <chrono>
#include <string>

#include "results/Judgement.h"
#include "results/MeasurementRecord.h"
#include "tests/results/SampleResults.h"

namespace kelvane::testing {

// 2026-12-09 14:19:50.123 UTC.
inline std::chrono::system_clock::time_point SampleStart() {
    using namespace std::chrono;
    return sys_days{year{2026} / 12 / 9} + hours{14} + minutes{19} + seconds{50} +
           milliseconds{123};
}

// A record of `result` as the batch run keeps it, judged.
inline MeasurementRecord Record(std::string measurement, MeasurementResult result) {
    MeasurementRecord record;
    record.measurement = std::move(measurement);
    record.started = SampleStart();
    record.durationS = 4.25;
    record.bus = "simulated";
    record.setup.referenceLevelDbm = 10;
    record.setup.address = {1, 18};
    record.version = "1.2.0";
    record.origin = {"SN-1", "Ana", "bench-7"};
    record.runId = "0f8fad5b-d9cb-469f-a165-70867728950e";
    record.recordId = "7c9e6679-7425-40de-944b-e07fc1f90ae7";
    record.result = std::move(result);
    record.judgement = Judge(record.result, record.setup);
    return record;
}

// An ACP run that completed with one value outside its limit (+5 MHz, 4.5 dB over).
inline MeasurementResult AcpResult() {
    MeasurementResult result =
        Result("ACP Measurement...", MeasurementOutcome::Completed,
               {Value("carrier_power", -10.2, "dBm"), Value("acp_lower_5mhz", -54.75, "dB"),
                Value("acp_upper_5mhz", -40.5, "dB"), Value("acp_lower_10mhz", -60.25, "dB"),
                Value("acp_upper_10mhz", -61, "dB")});
    result.log = "ACP Measurement...\r\nCarrier Power = -10.20dBm\r\n";
    return result;
}

}  // namespace kelvane::testing
