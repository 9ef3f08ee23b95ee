// Each measurement run against the simulated analyzer on a virtual clock: the program's own
// cost per run (bus binding, session, measurement, and the simulated analyzer's work), without
// the analyzer's sweep time, which the virtual clock skips.

#include <memory>
#include <string>

#include <benchmark/benchmark.h>

#include "analyzer/AnalyzerSession.h"
#include "analyzer/GpibBinding.h"
#include "measurements/LogSink.h"
#include "measurements/MeasurementCatalog.h"
#include "simulator/SimulatedAnalyzer.h"
#include "tests/support/VirtualClock.h"

namespace kelvane {
namespace {

class DiscardLog : public LogSink {
public:
    void AppendResult(const std::string& text) override { characters_ += text.size(); }

private:
    std::size_t characters_ = 0;
};

// The bus stack of the program over a simulated analyzer.
class SimulatedProgram {
public:
    SimulatedProgram()
        : binding_(
              [this] {
                  return DriverLoad{std::make_unique<SimulatedAnalyzer>(clock_), {}};
              },
              [](const std::string&) {}) {}

    MeasurementOutcome Run(const CatalogEntry& entry) { return entry.run(context_).outcome; }

private:
    VirtualClock clock_;
    DiscardLog log_;
    GpibBinding binding_;
    AnalyzerSession session_{binding_};
    MeasurementContext context_{session_, log_, clock_};
};

// Repeated runs on one analyzer, as an operator clicking the same button again.
void BM_Measurement(benchmark::State& state) {
    const CatalogEntry& entry = MeasurementCatalog().at(static_cast<std::size_t>(state.range(0)));
    state.SetLabel(std::string(entry.name));
    SimulatedProgram program;
    for (auto _ : state) {
        if (program.Run(entry) != MeasurementOutcome::Completed)
            state.SkipWithError("not completed");
    }
}
BENCHMARK(BM_Measurement)->DenseRange(0, 6)->Unit(benchmark::kMicrosecond);

// The first run on a freshly started analyzer: nothing computed yet.
void BM_MeasurementFirstRun(benchmark::State& state) {
    const CatalogEntry& entry = MeasurementCatalog().at(static_cast<std::size_t>(state.range(0)));
    state.SetLabel(std::string(entry.name));
    for (auto _ : state) {
        SimulatedProgram program;
        if (program.Run(entry) != MeasurementOutcome::Completed)
            state.SkipWithError("not completed");
    }
}
BENCHMARK(BM_MeasurementFirstRun)->DenseRange(0, 6)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kelvane
