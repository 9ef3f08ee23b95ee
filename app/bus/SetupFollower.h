#pragma once

#include "gpib/TraceLog.h"
#include "measurements/MeasurementSetup.h"
#include "simulator/SimulatedBench.h"

namespace kelvane {

// Brings what depends on the bench's set-up up to date before each measurement, on the thread
// that runs the measurements: the simulated analyzer's bench (its transmitters at the set-up's
// carriers, the analyzer at its board and address), and the bus trace, which names the set-up
// at the start and again whenever it changed. The measurement log gains no line.
class SetupFollower {
public:
    // `trace` may be null; it must outlive the follower.
    SetupFollower(const MeasurementSetup& setup, TraceLog* trace);

    void Follow(const MeasurementSetup& setup);

    // What the simulated analyzer follows (DriverSetup::simulatedBench).
    const SimulatedBench& Bench() const { return bench_; }

private:
    MeasurementSetup setup_;
    TraceLog* trace_;
    SimulatedBench bench_;
};

// The simulated bench that answers to a set-up.
SimulatedBench BenchFor(const MeasurementSetup& setup);

}  // namespace kelvane
