#include <chrono>
#include <stdexcept>
#include <string>

#include <gtest/gtest.h>

#include "app/records/MeasurementRecorder.h"
#include "tests/measurements/ScriptedRuns.h"

namespace kelvane {
namespace {

using namespace std::chrono_literals;
using testing::runs::RunFixture;

const auto kStarted = std::chrono::system_clock::time_point(1765288800s);  // 2025-12-09 14:00 UTC

// A run that takes 2.5 s on the virtual clock, then gives `result` or throws.
CatalogEntry TimedEntry(RunFixture& fixture, bool throws) {
    return {"obw", "OBW", [&fixture, throws](MeasurementContext&) {
                fixture.clock.Advance(2500ms);
                if (throws) throw std::runtime_error("the bus thread lost its driver");
                MeasurementResult result;
                result.outcome = MeasurementOutcome::Completed;
                result.values = {{"occupied_bandwidth", 4.2e6, "Hz", std::nullopt}};
                return result;
            }};
}

// A run that ends as it should and one that throws get the same header: which measurement,
// when, over which bus, at which set-up, by which version, and how long it ran.
TEST(MeasurementRecorderTest, HeaderAndDurationWhetherTheRunEndsOrThrows) {
    for (const bool throws : {false, true}) {
        SCOPED_TRACE(throws ? "throws" : "ends");
        RunFixture fixture({});
        fixture.context.setup.address.primaryAddress = 18;
        const MeasurementRecorder recorder(fixture.clock, "lan:192.0.2.7:1234",
                                           [] { return kStarted; });
        const CatalogEntry entry = TimedEntry(fixture, throws);
        MeasurementRecord record = recorder.Start(entry, fixture.context.setup);
        if (throws) {
            EXPECT_THROW(recorder.Complete(record, entry, fixture.context), std::runtime_error);
            EXPECT_TRUE(record.result.values.empty());
        } else {
            recorder.Complete(record, entry, fixture.context);
            EXPECT_EQ(record.result.values.size(), 1u);
            EXPECT_EQ(record.judgement.verdict, Verdict::Pass);
        }
        EXPECT_EQ(record.measurement, "obw");
        EXPECT_EQ(record.started, kStarted);
        EXPECT_EQ(record.bus, "lan:192.0.2.7:1234");
        EXPECT_EQ(record.setup.address.primaryAddress, 18);
        EXPECT_FALSE(record.version.empty());
        EXPECT_DOUBLE_EQ(record.durationS, 2.5);
    }
}

}  // namespace
}  // namespace kelvane
