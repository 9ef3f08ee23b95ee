// The test report of a batch of the seven measurements: the page made from their records (as the
// simulated analyzer gives them, logs included), without and with the five charts' SVG, and the
// page written whole into a file. Budget: under 100 ms for the seven, charts and file included.

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "analyzer/AnalyzerSession.h"
#include "analyzer/GpibBinding.h"
#include "app/records/MeasurementRecorder.h"
#include "measurements/LogSink.h"
#include "measurements/MeasurementCatalog.h"
#include "report/ReportFile.h"
#include "report/ReportPage.h"
#include "simulator/SimulatedAnalyzer.h"
#include "tests/support/VirtualClock.h"
#ifdef KELVANE_REPORT_CHARTS
#include "charts/drawing/output/ChartSvg.h"
#endif

namespace kelvane {
namespace {

class DiscardLog : public LogSink {
public:
    void AppendResult(const std::string&) override {}
};

// The records of one batch of the seven measurements against the simulated analyzer, judged.
std::vector<MeasurementRecord> SevenRecords() {
    VirtualClock clock;
    DiscardLog log;
    GpibBinding binding(
        [&clock] {
            return DriverLoad{std::make_unique<SimulatedAnalyzer>(clock), {}};
        },
        [](const std::string&) {});
    AnalyzerSession session(binding);
    MeasurementContext context{session, log, clock};
    const MeasurementRecorder recorder(clock, "simulated");
    std::vector<MeasurementRecord> records;
    for (const CatalogEntry& entry : MeasurementCatalog()) {
        records.push_back(recorder.Run(entry, context));
        records.back().origin = {"SN-1", "X", "bench-7"};
    }
    return records;
}

ReportFacts Facts() {
    ReportFacts facts;
    facts.version = "bench";
    for (const CatalogEntry& entry : MeasurementCatalog()) facts.planned.emplace_back(entry.name);
    return facts;
}

void BM_ReportPage(benchmark::State& state) {
    const std::vector<MeasurementRecord> records = SevenRecords();
    const ReportFacts facts = Facts();
    std::size_t bytes = 0;
    for (auto _ : state) bytes = ReportHtml(records, facts, {}).size();
    state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_ReportPage)->Unit(benchmark::kMillisecond);

#ifdef KELVANE_REPORT_CHARTS
void BM_ReportPageWithCharts(benchmark::State& state) {
    const std::vector<MeasurementRecord> records = SevenRecords();
    const ReportFacts facts = Facts();
    ChartSvg svg;  // an offscreen application while it lives
    const ChartSvgSource charts = [&svg](const ChartModel& model) { return svg(model); };
    std::size_t bytes = 0;
    for (auto _ : state) bytes = ReportHtml(records, facts, charts).size();
    state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_ReportPageWithCharts)->Unit(benchmark::kMillisecond);

// What --report does at the end of a batch: the page with its charts, written whole.
void BM_ReportWritten(benchmark::State& state) {
    const std::vector<MeasurementRecord> records = SevenRecords();
    const ReportFacts facts = Facts();
    ChartSvg svg;  // an offscreen application while it lives
    const ChartSvgSource charts = [&svg](const ChartModel& model) { return svg(model); };
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    const std::filesystem::path path = std::filesystem::temp_directory_path() /
                                       ("kelvane-report-bench-" + std::to_string(stamp) + ".html");
    for (auto _ : state) {
        const std::string failure =
            ReportFile::Write(path.string(), ReportHtml(records, facts, charts));
        if (!failure.empty()) state.SkipWithError(failure.c_str());
    }
    std::filesystem::remove(path);
}
BENCHMARK(BM_ReportWritten)->Unit(benchmark::kMillisecond);
#endif

}  // namespace
}  // namespace kelvane
