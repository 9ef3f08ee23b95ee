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

    MeasurementRecord Run(const CatalogEntry& entry, MeasurementContext& context) const;

private:
    Clock& clock_;
    std::string bus_;
    UtcClock utcNow_;
};

}  // namespace kelvane
