#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "app/bus/BusActivity.h"
#include "gpib/ObservedGpibDriver.h"
#include "tests/measurements/ScriptedRuns.h"

namespace kelvane {
namespace {

using testing::ScriptedDriver;
using namespace testing::runs;

// The steps as "description / limit".
std::vector<std::string> Describe(const std::vector<BusStep>& steps) {
    std::vector<std::string> lines;
    lines.reserve(steps.size());
    for (const auto& step : steps)
        lines.push_back(step.description + " / " + std::to_string(step.limitSeconds));
    return lines;
}

TEST(BusActivityTest, OneStepPerCallAndOneForTheWholeWait) {
    std::vector<BusStep> steps;
    BusActivity activity([&steps](const BusStep& step) { steps.push_back(step); });
    activity.OpeningDevice();
    activity.Writing("SI");
    for (const char* command : {"*CLS", "OPR 16", "*SRE 160", "*STB?"}) activity.Writing(command);
    activity.Reading();
    activity.Writing("*STB?");
    activity.Reading();
    activity.Writing("*ESR?");
    activity.Reading();
    activity.Writing("PWCH?");
    activity.Reading();
    activity.Reading();
    activity.Writing("SEMTIN 1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18");
    activity.Writing("*STB?");  // outside a wait it is an ordinary query
    activity.TakingOffline();
    EXPECT_EQ(Describe(steps),
              (std::vector<std::string>{
                  "opening the analyzer / 0", "sending \"SI\" / 10", "sending \"*CLS\" / 10",
                  "sending \"OPR 16\" / 10", "waiting for the end of the measurement / 10",
                  "sending \"PWCH?\" / 10", "reading the answer to \"PWCH?\" / 10",
                  "reading the answer to \"PWCH?\" / 10",
                  "sending \"SEMTIN 1,2,3,4,5,6,7,8,9...17,18\" / 10", "sending \"*STB?\" / 10",
                  "closing the session / 0"}));
}

// Observed, every measurement puts exactly its golden traffic on the bus; the last step
// closes the session.
TEST(BusActivityTest, ObservedDriverLeavesEveryGoldenRunAsItIs) {
    for (const Golden& golden : GoldenRuns()) {
        SCOPED_TRACE(golden.name);
        RunFixture plain(golden.script);
        plain.Run(golden.name);

        RunFixture scripted(golden.script);  // only its driver's script is used
        auto driver = std::make_unique<ScriptedDriver>(std::move(scripted.driver));
        ScriptedDriver& observedDriver = *driver;
        VirtualClock clock;
        observedDriver.AttachClock(&clock);
        observedDriver.onCall = nullptr;
        std::vector<BusStep> steps;
        BusActivity activity([&steps](const BusStep& step) { steps.push_back(step); });
        GpibBinding binding(Observed(testing::HandOver(std::move(driver)), activity), nullptr);
        AnalyzerSession session(binding);
        MeasurementContext context{session, plain, clock};
        FindMeasurement(golden.name)->run(context);

        EXPECT_EQ(observedDriver.Transcript(), plain.driver.Transcript());
        ASSERT_FALSE(steps.empty());
        EXPECT_EQ(steps.front().description, "opening the analyzer");
        EXPECT_EQ(steps.back().description, "closing the session");
    }
}

}  // namespace
}  // namespace kelvane
