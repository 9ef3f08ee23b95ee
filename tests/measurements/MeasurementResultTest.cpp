// What a measurement's result holds beside its log: every value at full precision, the mask it
// sent, its carrier, its failure line.
#include <algorithm>
#include <iterator>
#include <ostream>

#include <gtest/gtest.h>

#include "analyzer/GpibRegistrationFailure.h"
#include "measurements/NumberForms.h"
#include "tests/measurements/ScriptedRuns.h"

namespace kelvane::testing::runs {

namespace {

class EachResult : public ::testing::TestWithParam<Golden> {};

// The result holds what the log shows: every logged number at full precision (rounded as the
// log rounds it, it is the logged text), the log text itself, the carrier and the mask sent.
TEST_P(EachResult, HoldsTheLoggedValuesAtFullPrecision) {
    RunFixture fixture(GetParam().script);
    fixture.Run(GetParam().name);
    const MeasurementResult& result = fixture.result;
    std::string log;
    for (const auto& entry : fixture.timeline)
        if (entry.starts_with("log: ")) log += entry.substr(5);
    EXPECT_EQ(result.log, log);
    EXPECT_EQ(result.title, GetParam().title + " Measurement...");
    EXPECT_EQ(result.message, "");
    const std::map<std::string, std::vector<std::string>> names{
        {"ch-power", {"channel_power"}},
        {"obw", {"occupied_bandwidth", "occupied_band_center"}},
        {"acp",
         {"acp_lower_5mhz", "acp_upper_5mhz", "acp_lower_10mhz", "acp_upper_10mhz",
          "carrier_power"}},
        {"sem", {"row_1", "row_2", "row_3", "row_4", "row_5", "row_6", "row_7", "row_8"}},
        {"sem-11a",
         {"row_1", "row_2", "row_3", "row_4", "row_5", "row_6", "row_7", "row_8", "row_9",
          "row_10"}},
        {"sem-11b", {"row_1", "row_2", "row_3", "row_4", "row_5", "row_6"}},
        {"total-power-11b", {"total_power"}}};
    std::vector<std::string> recorded;
    for (const auto& value : result.values) {
        recorded.push_back(value.name);
        // As the log shows it: frequencies in MHz with 3 (OBW) or 2 decimals, levels with 2.
        const bool hertz = value.unit == "Hz";
        const std::string shown =
            PatternNumber(hertz ? value.value / 1e6 : value.value,
                          value.name.starts_with("occupied") ? "0.000" : "0.00");
        EXPECT_NE(log.find(shown + (hertz ? "MHz" : value.unit)), std::string::npos)
            << value.name << " " << shown;
        if (value.row) {
            EXPECT_EQ(value.value, value.row->levelDbm);
            EXPECT_NE(log.find(PatternNumber(value.row->startHz / 1e6, "0.00") + "MHz---" +
                               PatternNumber(value.row->stopHz / 1e6, "0.00") + "MHz, " +
                               PatternNumber(value.row->frequencyHz / 1e6, "0.00") + "MHz"),
                      std::string::npos)
                << value.name;
            EXPECT_EQ(value.row->analyzerPassed.has_value(), GetParam().name != "sem");
        }
    }
    EXPECT_EQ(recorded, names.at(GetParam().name));
    const double center = GetParam().name == "sem-11a"                       ? 5005e6
                          : GetParam().name.find("11b") != std::string::npos ? 2412e6
                                                                             : 2000e6;
    EXPECT_EQ(result.centerHz, center);
    EXPECT_EQ(result.mask.size(), GetParam().name == "sem"       ? 4u
                                  : GetParam().name == "sem-11a" ? 5u
                                  : GetParam().name == "sem-11b" ? 3u
                                                                 : 0u);
}

// The numbers exactly as the answers carried them, and the masks as they were sent.
TEST(MeasurementResult, ValuesAndMasksAsSent) {
    const auto values = [](const std::string& name) {
        RunFixture fixture(GoldenRun(name).script);
        fixture.Run(name);
        return fixture.result;
    };
    const auto obw = values("obw");
    EXPECT_EQ(obw.values[0], (MeasuredValue{"occupied_bandwidth", 4151234, "Hz", {}}));
    EXPECT_EQ(obw.values[1], (MeasuredValue{"occupied_band_center", 2140012345, "Hz", {}}));
    const auto acp = values("acp");
    std::vector<double> acpValues;
    for (const auto& value : acp.values) acpValues.push_back(value.value);
    EXPECT_EQ(acpValues, (std::vector<double>{-45.2, -45.31, -60.456, -61.5, -1.5}));
    EXPECT_EQ(values("ch-power").values[0].value, -23.456);
    const auto sem = values("sem");
    EXPECT_EQ(sem.values[1].row, (MaskRow{5e6, 6e6, 5.5e6, -60.456, -100.5, std::nullopt}));
    EXPECT_EQ(sem.mask, (std::vector<MaskSegment>{{2.515e6, 2.715e6, -14, -14},
                                                  {2.715e6, 3.515e6, -14, -26},
                                                  {3.515e6, 4.0e6, -26, -26},
                                                  {4.0e6, 8.0e6, -13, -13}}));
    const auto wlan = values("sem-11a");  // peak -10.5 dBm, raised by 2 dB
    EXPECT_EQ(wlan.values[1].row, (MaskRow{9e6, 11e6, 10e6, -70.5, -66.25, false}));
    EXPECT_EQ(wlan.mask, (std::vector<MaskSegment>{{0, 9e6, -8.5, -8.5},
                                                   {9e6, 11e6, -8.5, -28.5},
                                                   {11e6, 20e6, -28.5, -36.5},
                                                   {20e6, 30e6, -36.5, -48.5},
                                                   {30e6, 39e6, -48.5, -48.5}}));
    EXPECT_EQ(values("sem-11b").mask[2], (MaskSegment{22e6, 39e6, -45, -45}));
}

// A failed run keeps the values logged before the failure, and its failure line as its message.
TEST(MeasurementResult, AFailedRunKeepsWhatWasLogged) {
    Script script = GoldenRun("acp").script;
    script["ACP?"] = {"0", kAcp1, "-10000000,-60.456,+10 MHz,-61.5"};
    RunFixture fixture(script);
    EXPECT_EQ(fixture.Run("acp"), MeasurementOutcome::Failed);
    ASSERT_EQ(fixture.result.values.size(), 2u);
    EXPECT_EQ(fixture.result.values[1], (MeasuredValue{"acp_upper_5mhz", -45.31, "dB", {}, 5e6}));
    EXPECT_EQ(fixture.result.message,
              "ACP Measurement failed: \"ACP?\" answer 2 field 2 is not a number: \"+10 MHz\"");
    EXPECT_TRUE(fixture.result.log.ends_with(fixture.result.message + "\r\n"));
}

INSTANTIATE_TEST_SUITE_P(Catalog, EachResult, ::testing::ValuesIn(GoldenRuns()));

}  // namespace
}  // namespace kelvane::testing::runs
