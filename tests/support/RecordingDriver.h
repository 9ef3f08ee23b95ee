#pragma once

#include <functional>
#include <memory>

#include "gpib/ReportingDriver.h"
#include "tests/support/ScriptedDriver.h"

namespace kelvane::testing {

// Passes every call on to another driver and tells each one, as the scripted driver records
// its own calls: a read with the bytes it delivered. Puts any driver under the run fixtures'
// transcripts.
class RecordingDriver : public ReportingDriver {
public:
    RecordingDriver(std::unique_ptr<GpibDriver> inner,
                    std::function<void(const DriverCall&)> onCall)
        : ReportingDriver(std::move(inner)), onCall_(std::move(onCall)) {}

protected:
    void Called(const GpibCall& call) override {
        onCall_({call.entry, call.arguments, call.bytes});
    }

private:
    std::function<void(const DriverCall&)> onCall_;
};

}  // namespace kelvane::testing
