// Which records a report takes: --report on the command line names a batch run's report file;
// the batch's end hands over its records once, logs included when asked, however the batch ended;
// "Save report as..." takes those since the DUT last changed.
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/BatchRunner.h"
#include "app/CommandLine.h"
#include "app/ExitStatus.h"
#include "measurements/MeasurementCatalog.h"
#include "report/ReportScope.h"
#include "tests/support/ScriptedDriver.h"
#include "tests/support/VirtualClock.h"

namespace kelvane {
namespace {

TEST(ReportOption, AFileForTheBatchsReport) {
    struct Case {
        std::vector<std::string> arguments;
        std::string report;  // the file; empty: none
        std::string error;   // empty: accepted
    };
    const Case cases[] = {
        {{"--measure", "all", "--report", "r.html"}, "r.html", ""},
        {{"--report=SN 1/r.html", "--measure", "acp"}, "SN 1/r.html", ""},
        {{"--measure", "acp"}, "", ""},
        {{"--report", "r.html"},
         "",
         "--report writes the report of a batch run; name the measurements with --measure"},
        {{"--measure", "acp", "--report"}, "", "--report needs a file name"},
        {{"--measure", "acp", "--report", "--simulate"}, "", "--report needs a file name"},
        {{"--measure", "acp", "--report="}, "", "--report needs a file name"},
    };
    for (const Case& c : cases) {
        const CommandLine parsed(c.arguments);
        EXPECT_EQ(parsed.Error(), c.error) << c.arguments.front();
        if (c.error.empty()) {
            EXPECT_EQ(parsed.WhatToDo(), CommandLine::Action::Batch);
            EXPECT_EQ(parsed.ReportPath(), c.report);
        }
    }
}

struct Ended {
    int status = 0;
    int calls = 0;
    std::vector<MeasurementRecord> records;
};

// Channel power twice and an occupied bandwidth, against an analyzer that reports the end at
// once; after `stopAfter` runs (-1: never), a request to stop (as Ctrl+C) comes.
Ended RunBatch(bool keepLogs, int stopAfter) {
    VirtualClock clock;
    auto driver = std::make_unique<testing::ScriptedDriver>();
    driver->AttachClock(&clock);
    driver->ReplyAlways("*STB?", "128");
    driver->ReplyAlways("PWCH?", "-10.25");
    driver->ReplyAlways("OBW?", "2000000000,4167031");
    std::ostringstream out, err;
    Ended ended;
    int asked = 0;  // before and after each measurement
    BatchOptions options;
    options.keepLogs = keepLogs;
    options.finished = [&ended](const std::vector<MeasurementRecord>& records) {
        ++ended.calls;
        ended.records = records;
    };
    options.interruption = [&] {
        return stopAfter >= 0 && ended.calls == 0 && asked++ >= 2 * stopAfter ? 130 : 0;
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

TEST(ReportScope, TheRecordsSinceTheDutLastChanged) {
    struct Case {
        const char* what;
        std::vector<std::string> duts;  // of the records in order
        std::size_t first;              // of the records taken, to the end
    };
    const Case cases[] = {
        {"none", {}, 0},
        {"one DUT all along", {"SN-1", "SN-1", "SN-1"}, 0},
        {"no DUT named all along", {"", "", ""}, 0},
        {"changed once", {"SN-1", "SN-1", "SN-2", "SN-2"}, 2},
        {"back to an earlier DUT", {"SN-1", "SN-2", "SN-1"}, 2},
        {"named after runs without a name", {"", "", "SN-3"}, 2},
        {"name taken away", {"SN-3", ""}, 1},
        {"differs in case only", {"sn-1", "SN-1"}, 1},
    };
    for (const Case& c : cases) {
        std::vector<MeasurementRecord> records;
        for (std::size_t i = 0; i < c.duts.size(); ++i) {
            MeasurementRecord record;
            record.origin.dut = c.duts[i];
            record.recordId = std::to_string(i);
            records.push_back(record);
        }
        const std::vector<MeasurementRecord> taken = RecordsOfNewestDut(records);
        ASSERT_EQ(taken.size(), c.duts.size() - c.first) << c.what;
        for (std::size_t i = 0; i < taken.size(); ++i)
            EXPECT_EQ(taken[i].recordId, std::to_string(c.first + i)) << c.what;
    }
}

}  // namespace
}  // namespace kelvane
