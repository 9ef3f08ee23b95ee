// Each measurement with good answers, then with the faults of the table below: answers missing,
// cut short, malformed or not numbers, writes the bus refuses, waits that end badly.
#include <algorithm>
#include <iterator>
#include <ostream>
#include <string_view>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "analyzer/GpibRegistrationFailure.h"
#include "measurements/NumberForms.h"
#include "tests/measurements/ScriptedRuns.h"

namespace kelvane::testing::runs {

namespace {

class EachMeasurement : public ::testing::TestWithParam<Golden> {};

// Every command, read and log text in its place: e.g. "OBW?" and "ACP?" answers are logged only
// after the closing commands, each mask line before the next record is read.
TEST_P(EachMeasurement, RunsAsScripted) {
    RunFixture fixture(GetParam().script);
    EXPECT_EQ(fixture.Run(GetParam().name), MeasurementOutcome::Completed);
    EXPECT_EQ(fixture.timeline, GetParam().run);
}

// The title, then the failure; no command; the board taken offline (the device has no
// descriptor). A board or driver that is not set up gets advice instead of the bare error.
TEST_P(EachMeasurement, UnopenableAnalyzerGetsNoCommand) {
    const std::string board =
        "the PC's GPIB board 0 or its driver is not set up, so the analyzer was never reached "
        "(driver error ";
    const std::string advice =
        "). Check that the GPIB driver is installed and configured for board 0 and that its "
        "device file is present and accessible.";
    const std::vector<std::pair<std::int32_t, std::string>> cases{
        {kErrorEneb, board + "ENEB (7)" + advice},
        {kErrorEdvr, board + "EDVR (0)" + advice},
        {kErrorEnol, "ibdev could not open the analyzer (driver error ENOL (2))"}};
    for (const auto& [error, reason] : cases) {
        RunFixture fixture(GetParam().script);
        fixture.driver.FailIbdev(error);
        EXPECT_EQ(fixture.Run(GetParam().name), MeasurementOutcome::Failed);
        const Lines closed{Fail(GetParam().title, reason), "ibonl(0, 0)"};
        EXPECT_EQ(fixture.timeline, Open(GetParam().title) + closed);
    }
}

TEST_P(EachMeasurement, FailedRegistrationEndsWithoutAnotherDriverCall) {
    RunFixture fixture(GetParam().script);
    fixture.driver.SetRegistrationResult(3);
    EXPECT_THROW(fixture.Run(GetParam().name), GpibRegistrationFailure);
    EXPECT_EQ(fixture.timeline,
              (Lines{"RegisterGpibGlobalsForThread()", "UnregisterGpibGlobalsForThread()"}));
    EXPECT_EQ(fixture.messages.size(), 1U);
}

// Another bench: the carriers, the reference level and the address go into CF, RL, WLX, ibdev
// and the board's ibonl; nothing else of the run changes.
TEST_P(EachMeasurement, FollowsTheSetUpInCfRlWlxAndTheAddressOnly) {
    RunFixture fixture(GetParam().script);
    fixture.context.setup = {2140e6, 5180e6, 2462.5e6, -10.5, {1, 18}, {}, std::nullopt};
    EXPECT_EQ(fixture.Run(GetParam().name), MeasurementOutcome::Completed);
    const std::map<std::string, std::string> moved{
        {"ibdev(0, 8, 0, 13, 1, 0)", "ibdev(1, 18, 0, 13, 1, 0)"},
        {"ibonl(0, 0)", "ibonl(1, 0)"},
        {"CF 2000000000HZ", "CF 2140000000HZ"},
        {"WLX 2000000000HZ", "WLX 2140000000HZ"},
        {"CF 5005000000HZ", "CF 5180000000HZ"},
        {"CF 2412000000HZ", "CF 2462500000HZ"},
        {"RL 0DB", "RL -10.5DB"},
    };
    Lines expected = GetParam().run;
    for (auto& entry : expected)
        if (const auto found = moved.find(entry); found != moved.end()) entry = found->second;
    EXPECT_EQ(fixture.timeline, expected);
}

INSTANTIATE_TEST_SUITE_P(Catalog, EachMeasurement, ::testing::ValuesIn(GoldenRuns()));

TEST(MeasurementCatalog, HoldsTheSevenInWindowOrder) {
    ASSERT_EQ(MeasurementCatalog().size(), GoldenRuns().size());
    for (std::size_t i = 0; i < GoldenRuns().size(); ++i)
        EXPECT_EQ(MeasurementCatalog()[i].name, GoldenRuns()[i].name);
}

// The window's buttons and the charts' titles name the measurements by these captions.
TEST(MeasurementCatalog, CaptionsAreTheWindowsButtons) {
    using Named = std::pair<std::string_view, std::string_view>;
    const std::vector<Named> expected{{"ch-power", "CH Power"},
                                      {"obw", "OBW"},
                                      {"acp", "ACP"},
                                      {"sem", "S.E.M."},
                                      {"sem-11a", "SEM (11a)"},
                                      {"sem-11b", "SEM (11b)"},
                                      {"total-power-11b", "Total Power (11b)"}};
    std::vector<Named> captions;
    for (const CatalogEntry& entry : MeasurementCatalog())
        captions.emplace_back(entry.name, entry.caption);
    EXPECT_EQ(captions, expected);
}

}  // namespace
}  // namespace kelvane::testing::runs
