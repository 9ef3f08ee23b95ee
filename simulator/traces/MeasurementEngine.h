#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "simulator/SimulatorOptions.h"
#include "simulator/instrument/InstrumentState.h"
#include "simulator/instrument/SweepController.h"
#include "simulator/signals/SignalScene.h"
#include "simulator/traces/MaskEvaluator.h"
#include "simulator/traces/Trace.h"
#include "simulator/traces/TraceComputer.h"

namespace kelvane {

// Produces the traces behind the analyzer's results. The noiseless trace depends only on the
// sweep settings and is computed once per setting; each sweep then only adds its own seeded
// noise, and a sweep asked for again (e.g. "ACP?" then "ACPREF?") is the same trace.
class MeasurementEngine {
public:
    MeasurementEngine(const SimulatorOptions& options, std::uint32_t seed,
                      const SimulatedBench& bench);

    // The transmitters move to the bench's carriers; no trace of before is reused.
    void Retune(const SimulatedBench& bench);

    // The trace over the span at the current settings for the given sweep.
    const Trace& MainTrace(const InstrumentState& state, const SweepData& data);

    // The emission mask records of the given sweep against the current mask table.
    std::vector<MaskRecord> MaskRecords(const InstrumentState& state, const SweepData& data);

private:
    struct SweepKey {
        SweepSettings settings;
        std::uint64_t runId = 0;
        long long sweepIndex = 0;
        int averaged = 0;
        bool operator==(const SweepKey&) const = default;
    };

    // The main sweep's settings for a state.
    SweepSettings MainSettings(const InstrumentState& state) const;

    // How much higher the positive peak detector reads a noise-like signal than its mean power
    // (linear factor): the expected largest of the independent envelope samples in one point's
    // bin, tempered by video filtering narrower than the RBW.
    static double PeakCrest(double rbwHz, double vbwHz, double sweepTimeS, int points);
    // The seed of one sweep's noise: the same for the same run and sweep.
    std::uint64_t SweepNoiseKey(const SweepData& data) const;
    double MaskReferenceDbm(const InstrumentState& state, const Trace& main) const;

    SimulatorOptions options_;
    std::uint64_t seed_;
    SignalScene scene_;
    TraceComputer computer_;
    std::optional<SweepSettings> cleanSettings_;
    Trace clean_;
    std::optional<SweepKey> mainKey_;
    Trace main_;
    Trace segment_;
};

}  // namespace kelvane
