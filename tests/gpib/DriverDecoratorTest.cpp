// The drivers that wrap another one pass the inner driver's own words on a failure through, so
// that an adapter's reason ("connection refused") reaches the failure line whatever watches the
// bus: the window's observer, the bus trace, the tests' recorders and latches.
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "gpib/ObservedGpibDriver.h"
#include "gpib/TraceFile.h"
#include "gpib/TracingDriver.h"
#include "tests/support/LatchedDriver.h"
#include "tests/support/RecordingDriver.h"
#include "tests/support/ScriptedDriver.h"
#include "tests/support/VirtualClock.h"

namespace kelvane::testing {
namespace {

// A scripted analyzer whose driver has its own words on each failure.
class ExplainingDriver : public ScriptedDriver {
public:
    std::string FailureDetail() const override { return "lan:192.0.2.7:1234: connection lost"; }
};

class SilentObserver : public GpibCallObserver {
public:
    void OpeningDevice() override {}
    void Writing(std::string_view) override {}
    void Reading() override {}
    void TakingOffline() override {}
};

TEST(DriverDecorators, PassTheInnerDriversFailureDetailOn) {
    SilentObserver observer;
    VirtualClock clock;
    const std::string tracePath = ::testing::TempDir() + "driver-decorator-test.trace";
    TraceFileOpen open = OpenTraceFile(tracePath);
    ASSERT_TRUE(open.file) << open.failure;
    TraceLog trace(std::move(open.file), clock);

    using Wrap = std::function<std::unique_ptr<GpibDriver>(std::unique_ptr<GpibDriver>)>;
    const std::vector<std::pair<const char*, Wrap>> decorators{
        {"observed",
         [&](auto inner) {
             return std::make_unique<ObservedGpibDriver>(std::move(inner), observer);
         }},
        {"tracing",
         [&](auto inner) { return std::make_unique<TracingDriver>(std::move(inner), trace); }},
        {"recording",
         [](auto inner) {
             return std::make_unique<RecordingDriver>(std::move(inner), [](const DriverCall&) {});
         }},
        {"latched",
         [](auto inner) { return std::make_unique<LatchedDriver>(std::move(inner), "Q?"); }},
    };
    for (const auto& [name, wrap] : decorators) {
        const auto driver = wrap(std::make_unique<ExplainingDriver>());
        EXPECT_EQ(driver->FailureDetail(), "lan:192.0.2.7:1234: connection lost") << name;
        // Stacked, as the window's driver is (observed over traced).
        const auto stacked = wrap(wrap(std::make_unique<ExplainingDriver>()));
        EXPECT_EQ(stacked->FailureDetail(), "lan:192.0.2.7:1234: connection lost") << name;
    }
    std::remove(tracePath.c_str());
}

}  // namespace
}  // namespace kelvane::testing
