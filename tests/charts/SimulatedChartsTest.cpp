// The charts of the seven measurements as the simulated bench gives them.
#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "analyzer/AnalyzerSession.h"
#include "analyzer/GpibBinding.h"
#include "charts/RecordChart.h"
#include "measurements/LogSink.h"
#include "measurements/MeasurementCatalog.h"
#include "results/Judgement.h"
#include "simulator/SimulatedAnalyzer.h"
#include "tests/charts/ChartChecks.h"
#include "tests/support/VirtualClock.h"

namespace kelvane::testing {
namespace {

// The program's bus stack over the simulated analyzer, with a virtual clock.
struct SimulatedBenchRun : LogSink {
    explicit SimulatedBenchRun(SimulatorOptions options)
        : binding(
              [this, options] {
                  return DriverLoad{std::make_unique<SimulatedAnalyzer>(clock, 1, options), {}};
              },
              [](const std::string&) {}) {}
    void AppendResult(const std::string&) override {}

    MeasurementRecord Run(std::string_view name) {
        MeasurementRecord record;
        record.measurement = std::string(name);
        record.started = std::chrono::system_clock::time_point{};
        record.version = "1.2.0";
        record.result = FindMeasurement(name)->run(context);
        record.judgement = Judge(record.result);
        return record;
    }

    VirtualClock clock;
    GpibBinding binding;
    AnalyzerSession session{binding};
    MeasurementContext context{session, *this, clock};
};

TEST(SimulatedCharts, EveryChartHoldsItsMeasurement) {
    struct Case {
        std::string_view name;
        double regrowthRaiseDb;
        bool chart;
        std::size_t lines, markers, bars, bands;
        double xMax;
        Verdict verdict;
    };
    const Case cases[] = {
        {"ch-power", 0, false, 0, 0, 0, 0, 0, Verdict::None},
        {"obw", 0, true, 2, 1, 0, 1, 3, Verdict::Pass},
        {"acp", 0, true, 4, 0, 5, 0, 15, Verdict::Pass},
        {"sem", 0, true, 8, 8, 0, 0, 10, Verdict::Pass},
        {"sem-11a", 0, true, 10, 10, 0, 0, 40, Verdict::Pass},
        {"sem-11b", 0, true, 6, 6, 0, 0, 40, Verdict::Pass},
        {"total-power-11b", 0, false, 0, 0, 0, 0, 0, Verdict::None},
        {"sem-11a", 10, true, 10, 10, 0, 0, 40, Verdict::Fail},
        {"sem-11b", 10, true, 6, 6, 0, 0, 40, Verdict::Fail},
    };
    SimulatedBenchRun bench({}), raised({.regrowthRaiseDb = 10.0});
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + ", regrowth +" + std::to_string(c.regrowthRaiseDb));
        const MeasurementRecord record = (c.regrowthRaiseDb == 0 ? bench : raised).Run(c.name);
        ASSERT_EQ(record.judgement.verdict, c.verdict);
        const std::optional<ChartModel> chart = ChartFor(record);
        ASSERT_EQ(chart.has_value(), c.chart);
        if (!chart) continue;
        EXPECT_EQ(chart->verdict, c.verdict);
        EXPECT_EQ(chart->lines.size(), c.lines);
        EXPECT_EQ(chart->markers.size(), c.markers);
        EXPECT_EQ(chart->spans.size(), c.markers);
        EXPECT_EQ(chart->bars.size(), c.bars);
        EXPECT_EQ(chart->bands.size(), c.bands);
        EXPECT_EQ(chart->x.max, c.xMax);
        const bool anyFail =
            std::any_of(chart->markers.begin(), chart->markers.end(),
                        [](const ChartMarker& marker) { return marker.tone == ChartTone::Fail; });
        EXPECT_EQ(anyFail, c.verdict == Verdict::Fail);
        ExpectEverythingInside(*chart);
        if (c.name.starts_with("sem")) ExpectNothingPassingAboveTheLimit(*chart);
    }
}

}  // namespace
}  // namespace kelvane::testing
