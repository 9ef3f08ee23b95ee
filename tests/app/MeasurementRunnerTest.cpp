// The run facade: whatever became of the log or the results file, and also when the measurement
// threw, the run ends with its judged record kept.
#include <memory>
#include <regex>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/MeasurementRunner.h"
#include "app/StreamLogSink.h"
#include "measurements/MeasurementCatalog.h"
#include "results/ResultsFile.h"
#include "tests/support/ScriptedDriver.h"
#include "tests/support/VirtualClock.h"

namespace kelvane {
namespace {

// A stream that takes nothing, as a full disk or a closed pipe.
class RefusingBuffer : public std::streambuf {
protected:
    int_type overflow(int_type) override { return traits_type::eof(); }
};

const CatalogEntry kThrowing{
    .name = "ch-power", .caption = "CH Power", .run = [](MeasurementContext&) -> MeasurementResult {
        throw std::runtime_error("the bus thread lost its driver");
    }};

TEST(MeasurementRunnerTest, TheRecordIsKeptWhateverElseWasLost) {
    struct Case {
        const char* what;
        bool logRefused;
        const char* resultsPath;  // empty: none
        bool throws;
        std::string fileFailure;
        std::string message;
    };
    const std::vector<Case> cases{
        {"log refused", true, "", false, "", ""},
#ifndef _WIN32
        {"results file refused", false, "/dev/full", false,
         "cannot write the ch-power record to the results file \"/dev/full\": No space left on "
         "device",
         ""},
#endif
        {"measurement threw", false, "", true, "",
         "Measurement aborted: the bus thread lost its driver"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        VirtualClock clock;
        auto driver = std::make_unique<testing::ScriptedDriver>();
        driver->AttachClock(&clock);
        driver->ReplyAlways("*STB?", "128");
        driver->ReplyAlways("PWCH?", "-10.2");
        RefusingBuffer refusing;
        std::ostringstream written;
        std::ostream refused(&refusing);
        StreamLogSink log(c.logRefused ? refused : written);
        std::unique_ptr<ResultsFile> results;
        RunnerOptions options;
        if (*c.resultsPath != '\0') {
            results = std::make_unique<ResultsFile>(c.resultsPath);
            if (!results->IsOpen()) GTEST_SKIP() << "no " << c.resultsPath << " here";
            options.targets = {results.get()};
        }
        MeasurementRunner runner(testing::HandOver(std::move(driver)), clock, log, options);

        const RunEnd end = runner.Run(c.throws ? kThrowing : *FindMeasurement("ch-power"), {});
        EXPECT_FALSE(end.registrationFailed);
        EXPECT_EQ(end.fileFailures, c.fileFailure.empty()
                                        ? std::vector<std::string>{}
                                        : std::vector<std::string>{c.fileFailure});
        EXPECT_EQ(end.record.result.message, c.message);
        EXPECT_EQ(log.Failure().empty(), !c.logRefused);
        const auto records = runner.Records();
        ASSERT_EQ(records.size(), 1u);
        EXPECT_EQ(records[0].measurement, "ch-power");
        if (c.throws) {
            EXPECT_EQ(records[0].judgement.verdict, Verdict::Incomplete);
            EXPECT_EQ(written.str(), "\r\n" + c.message + "\r\n");
        } else {
            ASSERT_EQ(records[0].result.values.size(), 1u);
            EXPECT_EQ(records[0].result.values[0].value, -10.2);
        }
    }
}

// Every record says which run and which DUT it belongs to, with an id of its own.
TEST(MeasurementRunnerTest, RecordsCarryTheRunTheirIdAndTheirOrigin) {
    VirtualClock clock;
    auto driver = std::make_unique<testing::ScriptedDriver>();
    driver->ReplyAlways("*STB?", "128");
    driver->ReplyAlways("PWCH?", "-10.2");
    std::ostringstream written;
    StreamLogSink log(written);
    MeasurementRunner runner(testing::HandOver(std::move(driver)), clock, log);
    const RecordOrigin origin{"SN-1", "Ana", "bench-7"};
    const RunEnd first = runner.Run(*FindMeasurement("ch-power"), {}, origin);
    const RunEnd second = runner.Run(*FindMeasurement("ch-power"), {}, origin);
    const std::regex uuid("[0-9a-f]{8}-[0-9a-f]{4}-4[0-9a-f]{3}-[89ab][0-9a-f]{3}-[0-9a-f]{12}");
    for (const RunEnd* end : {&first, &second}) {
        EXPECT_TRUE(std::regex_match(end->record.recordId, uuid)) << end->record.recordId;
        EXPECT_EQ(end->record.runId, runner.RunId());
        EXPECT_EQ(end->record.origin, origin);
    }
    EXPECT_TRUE(std::regex_match(runner.RunId(), uuid)) << runner.RunId();
    EXPECT_NE(first.record.recordId, second.record.recordId);
    EXPECT_NE(first.record.recordId, runner.RunId());
}

}  // namespace
}  // namespace kelvane
