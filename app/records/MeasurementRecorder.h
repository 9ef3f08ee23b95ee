#pragma once

#include <chrono>
#include <functional>
#include <string>

#include "measurements/MeasurementCatalog.h"
#include "platform/Clock.h"
#include "results/MeasurementRecord.h"

namespace kelvane {

// Runs a measurement and keeps what it gave as a judged record: when it started (UTC), how long
// it took (on the program's clock), on which bus and with which set-up. A registration failure
// passes through untouched.
class MeasurementRecorder {
public:
    using UtcClock = std::function<std::chrono::system_clock::time_point()>;

    // bus: as records name it ("gpib", "simulated", "lan:HOST:PORT", "usb:DEVICE"). `clock`
    // must outlive the recorder.
    MeasurementRecorder(Clock& clock, std::string bus, UtcClock utcNow = {});

    // Start, then Complete: the whole record of one run.
    MeasurementRecord Run(const CatalogEntry& entry, MeasurementContext& context) const;

    // A record of `entry` starting now: its name, start (UTC), bus, set-up and version.
    MeasurementRecord Start(const CatalogEntry& entry, const MeasurementSetup& setup) const;

    // Runs the measurement into `record` (made by Start): its result, duration and judgement.
    // A run that throws leaves the header and the duration until then in `record`, and the
    // exception goes on to the caller.
    void Complete(MeasurementRecord& record, const CatalogEntry& entry,
                  MeasurementContext& context) const;

private:
    Clock& clock_;
    std::string bus_;
    UtcClock utcNow_;
};

}  // namespace kelvane
