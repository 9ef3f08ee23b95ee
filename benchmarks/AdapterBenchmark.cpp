// The adapter driver against the tests' stand-in adapter over loopback TCP. Wall time per
// iteration includes the stand-in's thread and the kernel's loopback; the CPU time is the
// benchmark thread's alone: the program's own cost (driver, protocol, system calls), which
// must stay far below the milliseconds a real adapter needs per round trip.

#include <memory>
#include <string>

#include <benchmark/benchmark.h>

#include "analyzer/AnalyzerSession.h"
#include "analyzer/GpibBinding.h"
#include "gpib/ForwardingDriver.h"
#include "gpib/prologix/AdapterDriver.h"
#include "measurements/LogSink.h"
#include "measurements/MeasurementCatalog.h"
#include "platform/SteadyClock.h"
#include "tests/measurements/ScriptedRuns.h"
#include "tests/support/StandInAdapter.h"
#include "tests/support/VirtualClock.h"
#include "transport/TcpStream.h"

namespace kelvane {
namespace {

using testing::AdapterEmulator;
using testing::ScriptedDriver;
using testing::StandInAdapter;

// Counts the transfers and session calls that pass.
class CountingDriver : public ForwardingDriver {
public:
    CountingDriver(std::unique_ptr<GpibDriver> inner, long& calls)
        : ForwardingDriver(std::move(inner)), calls_(calls) {}
    std::int32_t ibdev(std::int32_t b, std::int32_t p, std::int32_t s, std::int32_t t,
                       std::int32_t eoi, std::int32_t eos) override {
        ++calls_;
        return ForwardingDriver::ibdev(b, p, s, t, eoi, eos);
    }
    std::int32_t ibonl(std::int32_t d, std::int32_t v) override {
        ++calls_;
        return ForwardingDriver::ibonl(d, v);
    }
    std::int32_t ibwrt(std::int32_t d, const char* bytes, std::int32_t n) override {
        ++calls_;
        return ForwardingDriver::ibwrt(d, bytes, n);
    }
    std::int32_t ibrd(std::int32_t d, char* buffer, std::int32_t n) override {
        ++calls_;
        return ForwardingDriver::ibrd(d, buffer, n);
    }

private:
    long& calls_;
};

std::unique_ptr<AdapterDriver> DriverTo(const StandInAdapter& standIn, Clock& clock) {
    const auto port = static_cast<std::uint16_t>(standIn.Port());
    return std::make_unique<AdapterDriver>(
        standIn.Bus(),
        [port](std::chrono::nanoseconds timeout) {
            return OpenTcpStream("127.0.0.1", port, timeout);
        },
        clock);
}

// One "*STB?" write and its read in an open session.
void BM_AdapterWriteReadPair(benchmark::State& state) {
    ScriptedDriver analyzer;
    analyzer.ReplyAlways("*STB?", "128\n");
    AdapterEmulator emulator(analyzer, {});
    StandInAdapter standIn(emulator, StandInAdapter::Transport::Tcp);
    SteadyClock clock;
    auto driver = DriverTo(standIn, clock);
    std::int32_t status = 0, error = 0, count = 0, countLong = 0;
    driver->RegisterGpibGlobalsForThread(&status, &error, &count, &countLong);
    if (driver->ibdev(0, 8, 0, 13, 1, 0) < 0) state.SkipWithError("no session");
    char buffer[10];
    for (auto _ : state) {
        driver->ibwrt(AdapterDriver::kDeviceDescriptor, "*STB?", 5);
        driver->ibrd(AdapterDriver::kDeviceDescriptor, buffer, sizeof buffer);
        if (countLong != 4) state.SkipWithError("wrong answer");
    }
    driver->ibonl(0, 0);
}
BENCHMARK(BM_AdapterWriteReadPair)->Unit(benchmark::kMicrosecond)->UseRealTime();

class DiscardLog : public LogSink {
public:
    void AppendResult(const std::string&) override {}
};

// A whole measurement with good answers, session set-up (TCP connect, adapter set-up) included.
void BM_AdapterMeasurement(benchmark::State& state) {
    const auto& golden = testing::runs::GoldenRuns().at(static_cast<std::size_t>(state.range(0)));
    state.SetLabel(golden.name);
    ScriptedDriver analyzer;
    for (const auto& [query, reads] : golden.script)
        for (const auto& read : reads) analyzer.ReplyAlways(query, read);
    AdapterEmulator emulator(analyzer, {});
    StandInAdapter standIn(emulator, StandInAdapter::Transport::Tcp);
    SteadyClock clock;
    VirtualClock waits;
    long calls = 0;
    GpibBinding binding(
        [&] {
            return DriverLoad{std::make_unique<CountingDriver>(DriverTo(standIn, clock), calls),
                              {}};
        },
        [](const std::string&) {});
    AnalyzerSession session(binding);
    DiscardLog log;
    MeasurementContext context{session, log, waits};
    const CatalogEntry* entry = FindMeasurement(golden.name);
    for (auto _ : state) {
        if (entry->run(context).outcome != MeasurementOutcome::Completed)
            state.SkipWithError("failed");
    }
    state.counters["calls"] =
        benchmark::Counter(static_cast<double>(calls), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_AdapterMeasurement)->DenseRange(0, 6)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace kelvane
