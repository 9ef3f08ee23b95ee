// The simulated analyzer's work per sweep: the trace of the input spectrum through the RBW
// filter and the detector, and the sweep's noise.

#include <benchmark/benchmark.h>

#include "simulator/SimulatorOptions.h"
#include "simulator/signals/SignalScene.h"
#include "simulator/traces/TraceComputer.h"
#include "simulator/traces/TraceNoise.h"

namespace kelvane {
namespace {

struct SweepCase {
    const char* label;
    double centerHz;
    double spanHz;
    double rbwHz;
    Detector detector;
};

// The main sweeps of the measurements.
constexpr SweepCase kSweeps[] = {
    {"W-CDMA OBW 10 MHz/30 kHz peak", 2.0e9, 10e6, 30e3, Detector::PositivePeak},
    {"W-CDMA ACP 25 MHz/30 kHz average", 2.0e9, 25e6, 30e3, Detector::Average},
    {"W-CDMA CH power 10 MHz/300 kHz average", 2.0e9, 10e6, 300e3, Detector::Average},
    {"802.11a 80 MHz/100 kHz peak", 5.005e9, 80e6, 100e3, Detector::PositivePeak},
    {"802.11b 40 MHz/300 kHz average", 2.412e9, 40e6, 300e3, Detector::Average},
};

void BM_SweepTrace(benchmark::State& state) {
    const SweepCase& sweep = kSweeps[state.range(0)];
    state.SetLabel(sweep.label);
    const SimulatorOptions options;
    SignalScene scene(options, SimulatedBench{});
    const PowerDensity& input = scene.ForCenter(sweep.centerHz);
    const SweepSettings settings{sweep.centerHz - sweep.spanHz / 2,
                                 sweep.centerHz + sweep.spanHz / 2,
                                 options.tracePoints,
                                 sweep.rbwHz,
                                 sweep.detector,
                                 1.0};
    TraceComputer computer;
    Trace trace;
    std::uint64_t sweepNumber = 0;
    for (auto _ : state) {
        computer.Compute(input, settings, trace);
        TraceNoise::Apply(trace.powerMw, options.traceNoiseDb, 1, ++sweepNumber);
        benchmark::DoNotOptimize(trace.powerMw.data());
    }
}
BENCHMARK(BM_SweepTrace)->DenseRange(0, std::size(kSweeps) - 1)->Unit(benchmark::kMicrosecond);

// A new sweep on unchanged settings: only its noise.
void BM_SweepNoise(benchmark::State& state) {
    std::vector<double> trace(SimulatorOptions{}.tracePoints, 1e-6);
    std::uint64_t sweepNumber = 0;
    for (auto _ : state) {
        TraceNoise::Apply(trace, 0.5, 1, ++sweepNumber);
        benchmark::DoNotOptimize(trace.data());
    }
}
BENCHMARK(BM_SweepNoise)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kelvane
