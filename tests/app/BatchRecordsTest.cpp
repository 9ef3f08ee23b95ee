// The batch's records and repeated runs: a record per measurement as it ends, its times and bus,
// a file that refuses them, and the summary after --repeat.
#include <chrono>
#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "app/BatchRunner.h"
#include "app/ExitStatus.h"
#include "measurements/MeasurementCatalog.h"
#include "results/ResultsFile.h"
#include "tests/support/ScriptedDriver.h"
#include "tests/support/VirtualClock.h"

namespace kelvane {
namespace {

using testing::ScriptedDriver;

struct BatchRun {
    int status = 0;
    std::string out;
    std::string err;
};

const auto kStarted =
    std::chrono::sys_days{std::chrono::December / 9 / 2026} + std::chrono::hours(14);

// Measurements against an analyzer that reports the end at once, answers the powers in turn and
// gives an occupied bandwidth; `options` with the records' bus and start time set.
BatchRun RunBatch(const std::vector<std::string>& names, const std::vector<std::string>& powers,
                  BatchOptions options,
                  const std::vector<std::string>& bandwidths = {"2000000000,4167031"}) {
    VirtualClock clock;
    auto owned = std::make_unique<ScriptedDriver>();
    owned->AttachClock(&clock);
    owned->ReplyAlways("*STB?", "128");
    owned->Reply("PWCH?", powers);
    owned->Reply("OBW?", bandwidths);
    owned->ReplyAlways("OBW?", bandwidths.back());
    std::ostringstream out, err;
    options.bus = "lan:192.0.2.7:1234";
    options.utcNow = [] { return kStarted; };
    BatchRunner runner(testing::HandOver(std::move(owned)), clock, out, err, std::move(options));
    std::vector<const CatalogEntry*> measurements;
    for (const auto& name : names) measurements.push_back(FindMeasurement(name));
    const int status = runner.Run(measurements);
    return {status, out.str(), err.str()};
}

// Channel power runs; each record goes to `results` (when set).
BatchRun RunChannelPower(const std::vector<std::string>& powers, int repeat, ResultsFile* results) {
    BatchOptions options;
    options.repeat = repeat;
    if (results) options.targets = {results};
    return RunBatch({"ch-power"}, powers, std::move(options));
}

std::vector<std::string> FileLines(const std::string& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

TEST(BatchRecords, OneRecordPerMeasurementWithItsTimesAndBus) {
    const std::string path = ::testing::TempDir() + "batch-records-test.jsonl";
    std::remove(path.c_str());
    ResultsFile results(path);
    ASSERT_TRUE(results.IsOpen()) << results.Failure();
    const BatchRun run = RunChannelPower({"-10.25", "-10.2"}, 2, &results);
    EXPECT_EQ(run.status, kExitCompleted);
    const auto lines = FileLines(path);
    ASSERT_EQ(lines.size(), 2u);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto record = nlohmann::json::parse(lines[i]);
        EXPECT_EQ(record.at("measurement"), "ch-power");
        EXPECT_EQ(record.at("started"), "2026-12-09T14:00:00.000Z");
        EXPECT_EQ(record.at("bus"), "lan:192.0.2.7:1234");
        EXPECT_EQ(record.at("verdict"), "none");
        EXPECT_EQ(record.at("values").at(0).at("value"), i == 0 ? -10.25 : -10.2);
        // The status poll waits 10 ms on the program's clock.
        EXPECT_DOUBLE_EQ(record.at("duration_s").get<double>(), 0.01);
    }
    std::remove(path.c_str());
}

// Three runs, one of them failed: the summary counts it and averages the other two.
TEST(BatchRecords, RepeatedRunsEndWithASummary) {
    const BatchRun run = RunChannelPower({"-10.2", "bad", "-10.4"}, 3, nullptr);
    EXPECT_EQ(run.status, kExitMeasurementProblem);
    EXPECT_EQ(run.err,
              "kelvane: ch-power: INCOMPLETE, CH Power Measurement failed: \"PWCH?\" answer does "
              "not start with a number: \"bad\"\n");
    std::size_t titles = 0;
    for (std::size_t at = 0;
         (at = run.out.find("CH Power Measurement...", at)) != std::string::npos; ++at)
        ++titles;
    EXPECT_EQ(titles, 3u + 1u);  // three runs and the summary's heading
    const std::string summary = run.out.substr(run.out.find("\r\nSummary"));
    EXPECT_NE(summary.find("3 runs"), std::string::npos) << summary;
    EXPECT_NE(summary.find("channel_power: min -10.40 dBm, mean -10.30 dBm, max -10.20 dBm"),
              std::string::npos)
        << summary;
    EXPECT_NE(summary.find("(2 runs)"), std::string::npos) << summary;
}

// A results file that refuses every write: one line per record on standard error, the log whole,
// and exit status 4 at the end.
TEST(BatchRecords, ARecordThatCannotBeWrittenIsSaidAndTheRunGoesOn) {
#ifdef _WIN32
    GTEST_SKIP() << "no device that refuses writes here";
#endif
    ResultsFile results("/dev/full");
    if (!results.IsOpen()) GTEST_SKIP() << "no /dev/full here";
    const BatchRun run = RunChannelPower({"-10.2", "-10.3"}, 2, &results);
    EXPECT_EQ(run.status, kExitLogUnwritable);
    const std::string line =
        "kelvane: cannot write the ch-power record to the results file \"/dev/full\": No space "
        "left on device\n";
    EXPECT_EQ(run.err, line + line);
    EXPECT_NE(run.out.find("ChPower = -10.30dBm"), std::string::npos);
}

// The charts of the charted measurements go to the chart writer, named by measurement and UTC
// start; a chart that cannot be written is said, and the run goes on to exit status 4.
TEST(BatchRecords, ChartsOfTheChartedMeasurements) {
    std::vector<std::string> drawn;
    std::string failure;
    BatchOptions options;
    options.chartsFolder = "charts";
    options.chartsPng = true;
    options.chartWriter = [&](const ChartModel& model, const std::string& folder,
                              const std::string& stem, bool png) {
        drawn.push_back(folder + "/" + stem + (png ? " +png " : " ") + model.title);
        return WrittenChart{{folder + "/" + stem + ".svg"}, failure};
    };
    const BatchRun run = RunBatch({"ch-power", "obw"}, {"-10.2"}, options);
    EXPECT_EQ(run.status, kExitCompleted);
    EXPECT_EQ(drawn, std::vector<std::string>{
                         "charts/obw-20261209T140000Z +png OBW: PASS, margin 0.833 MHz"});

    failure = "cannot write the chart \"charts/obw-20261209T140000Z.svg\": Permission denied";
    const BatchRun refused = RunBatch({"obw", "ch-power"}, {"-10.2"}, options);
    EXPECT_EQ(refused.status, kExitLogUnwritable);
    EXPECT_EQ(refused.err, "kelvane: " + failure + "\n");
    EXPECT_NE(refused.out.find("ChPower = -10.20dBm"), std::string::npos);  // the run went on
}

// The exit status tells a script what to act on, the first of: 4 a file lost, 5 a limit failed,
// 1 a failure, warning or incomplete verdict, 0; each measurement that did not pass has its line.
TEST(BatchRecords, TheExitStatusAndTheLinesOfWhatDidNotPass) {
    const std::string wide = "2000000000,5100000";
    const std::string fail =
        "kelvane: obw: FAIL, margin -0.100 MHz (occupied_bandwidth 5.100 MHz, limit 5 MHz)\n";
    const std::string negative =
        "kelvane: obw: INCOMPLETE, occupied_bandwidth -4167812 Hz: below 1 Hz\n";
    const std::string badPower =
        "kelvane: ch-power: INCOMPLETE, CH Power Measurement failed: "
        "\"PWCH?\" answer does not start with a number: \"bad\"\n";
    const std::string lost =
        "kelvane: cannot write the obw record to the results file "
        "\"/dev/full\": No space left on device\n";
    struct Case {
        std::vector<std::string> names;
        std::vector<std::string> bandwidths;  // one per run
        const char* results;
        int status;
        std::string err;
    };
    const std::vector<Case> cases{
        {{"obw"}, {"2000000000,4167031"}, "", kExitCompleted, ""},
        {{"obw"}, {wide}, "", kExitLimitFailed, fail},
        {{"ch-power", "obw"}, {wide}, "", kExitLimitFailed, badPower + fail},
        {{"obw"}, {"2000003125,-4167812"}, "", kExitMeasurementProblem, negative},
        {{"obw"}, {"2000000000,4167031", wide, "2000000000,4.1e6"}, "", kExitLimitFailed, fail},
#ifndef _WIN32
        {{"obw"}, {wide}, "/dev/full", kExitLogUnwritable, fail + lost},  // a lost record first
#endif
    };
    for (const Case& c : cases) {
        std::unique_ptr<ResultsFile> results;
        BatchOptions options;
        options.repeat = static_cast<int>(c.bandwidths.size());
        if (*c.results != '\0') {
            results = std::make_unique<ResultsFile>(c.results);
            if (!results->IsOpen()) continue;
            options.targets = {results.get()};
        }
        const BatchRun run = RunBatch(c.names, {"bad"}, std::move(options), c.bandwidths);
        EXPECT_EQ(run.status, c.status) << c.err;
        EXPECT_EQ(run.err, c.err);
    }
}

}  // namespace
}  // namespace kelvane
