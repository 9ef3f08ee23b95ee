// The batch's end for its report: one call with the records, logs included when asked, however
// the batch ended.
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/BatchRunner.h"
#include "app/ExitStatus.h"
#include "measurements/MeasurementCatalog.h"
#include "tests/support/ScriptedDriver.h"
#include "tests/support/VirtualClock.h"

namespace kelvane {
namespace {

using testing::ScriptedDriver;

struct Ended {
    int status = 0;
    int calls = 0;
    std::vector<MeasurementRecord> records;
};

// Channel power twice and an occupied bandwidth, against an analyzer that reports the end at
// once; `stopAfter` runs, a request to stop (as Ctrl+C) comes.
Ended RunBatch(bool keepLogs, int stopAfter = -1) {
    VirtualClock clock;
    auto driver = std::make_unique<ScriptedDriver>();
    driver->AttachClock(&clock);
    driver->ReplyAlways("*STB?", "128");
    driver->ReplyAlways("PWCH?", "-10.25");
    driver->ReplyAlways("OBW?", "2000000000,4167031");
    std::ostringstream out, err;
    Ended ended;
    BatchOptions options;
    options.keepLogs = keepLogs;
    options.finished = [&ended](const std::vector<MeasurementRecord>& records) {
        ++ended.calls;
        ended.records = records;
    };
    int runs = 0;
    options.interruption = [&runs, &ended, stopAfter] {
        // Asked before and after each measurement: the stop comes once `stopAfter` have ended.
        return stopAfter >= 0 && static_cast<int>(ended.records.size()) == 0 &&
                       runs++ >= 2 * stopAfter
                   ? 130
                   : 0;
    };
    BatchRunner runner(testing::HandOver(std::move(driver)), clock, out, err, std::move(options));
    ended.status = runner.Run(
        {FindMeasurement("ch-power"), FindMeasurement("obw"), FindMeasurement("ch-power")});
    return ended;
}

TEST(BatchReport, TheRecordsOnceAtTheEnd) {
    struct Case {
        const char* what;
        bool keepLogs;
        int stopAfter;
        int status;
        std::size_t records;
    };
    const Case cases[] = {
        {"all ran, logs kept", true, -1, kExitCompleted, 3},
        {"all ran, logs on standard output only", false, -1, kExitCompleted, 3},
        {"interrupted after the first", true, 1, 130, 1},
        {"interrupted before the first", true, 0, 130, 0},
    };
    for (const Case& c : cases) {
        const Ended ended = RunBatch(c.keepLogs, c.stopAfter);
        EXPECT_EQ(ended.status, c.status) << c.what;
        EXPECT_EQ(ended.calls, 1) << c.what;
        ASSERT_EQ(ended.records.size(), c.records) << c.what;
        for (const MeasurementRecord& record : ended.records) {
            EXPECT_EQ(record.result.log.empty(), !c.keepLogs) << c.what;
            if (c.keepLogs) {
                EXPECT_EQ(record.result.log.find(record.result.title), 2u) << c.what;
            }
        }
    }
}

}  // namespace
}  // namespace kelvane
