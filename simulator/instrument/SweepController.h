#pragma once

#include <chrono>
#include <cstdint>

#include "simulator/instrument/InstrumentState.h"
#include "simulator/instrument/StatusModel.h"

namespace kelvane {

// Which sweep's data a query gets, and from when it is available.
struct SweepData {
    std::uint64_t runId = 0;
    long long sweepIndex = 0;  // sweeps completed in the run (at least 1)
    int averaged = 1;          // sweeps averaged into the data
    std::chrono::nanoseconds readyAt{0};
};

// Sweep timing. A run starts with "CONTS" (endless, or the averaging count with "AGSGL"), with
// "TS" (one sweep, or the averaging count when averaging is on) and again whenever a setting
// that shapes the trace changes during continuous sweeping. "TS" keeps the analyzer busy until
// its sweeps are done: commands behind it execute only then, so a query after it answers with
// that sweep's result. Starting a run schedules the ends of sweep averaging and of
// channel-power averaging in the status model.
class SweepController {
public:
    using Nanoseconds = std::chrono::nanoseconds;

    SweepController(const InstrumentState& state, StatusModel& status)
        : state_(state), status_(status) {}

    void StartContinuous(Nanoseconds at) { StartRun(at, true); }
    void StartSingle(Nanoseconds at) { StartRun(at, false); }
    void RestartIfContinuous(Nanoseconds at) {
        if (continuous_) StartRun(at, true);
    }

    // Commands arriving earlier execute at this time.
    Nanoseconds BusyUntil() const { return busyUntil_; }
    void HoldUntil(Nanoseconds at) { busyUntil_ = std::max(busyUntil_, at); }

    // The data a query executed at `at` answers with; powerQuery selects the channel-power
    // averaging count instead of the trace averaging count.
    SweepData DataAt(Nanoseconds at, bool powerQuery) const;

private:
    void StartRun(Nanoseconds at, bool continuous);

    const InstrumentState& state_;
    StatusModel& status_;
    std::uint64_t runId_ = 0;
    Nanoseconds start_{0};
    Nanoseconds sweep_{std::chrono::milliseconds(100)};
    long long sweepsInRun_ = 0;  // 0: endless
    bool continuous_ = true;
    Nanoseconds busyUntil_{0};
};

}  // namespace kelvane
