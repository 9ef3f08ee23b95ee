#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "results/RunSummary.h"
#include "tests/results/SampleRecords.h"

namespace kelvane::testing {
namespace {

MeasurementRecord RunOf(const char* measurement, const char* title, MeasurementOutcome outcome,
                        std::vector<MeasuredValue> values) {
    return Record(measurement, Result(title, outcome, std::move(values), 2000e6, WcdmaMask()));
}

TEST(RunSummary, GivesMinimumMeanMaximumAndStandardDeviation) {
    using enum MeasurementOutcome;
    std::vector<MeasurementRecord> runs;
    for (const auto& [carrier, lower] :
         {std::pair{-10.21, -54.80}, {-10.20, -54.77}, {-10.19, -54.74}})
        runs.push_back(
            RunOf("acp", "ACP Measurement...", Completed,
                  {Value("carrier_power", carrier, "dBm"), Value("acp_lower_5mhz", lower, "dB")}));
    EXPECT_EQ(RunSummary(runs),
              "\r\n"
              "Summary of 3 runs of acp (ACP Measurement...): 3 pass, 0 fail, 0 incomplete\r\n"
              "  carrier_power: min -10.21 dBm, mean -10.20 dBm, max -10.19 dBm, "
              "std dev 0.01 dBm (3 runs)\r\n"
              "  acp_lower_5mhz: min -54.80 dB, mean -54.77 dB, max -54.74 dB, "
              "std dev 0.03 dB (3 runs)\r\n");
}

TEST(RunSummary, CountsFailedRunsAndAveragesThoseWithAWarning) {
    using enum MeasurementOutcome;
    const std::vector<MeasurementRecord> runs = {
        RunOf("acp", "ACP Measurement...", Completed, {Value("acp_lower_5mhz", -50, "dB")}),
        // Logged a value before it failed: counted, not averaged.
        RunOf("acp", "ACP Measurement...", Failed, {Value("acp_lower_5mhz", -52, "dB")}),
        RunOf("acp", "ACP Measurement...", Warning, {Value("acp_lower_5mhz", -54, "dB")}),
        RunOf("acp", "ACP Measurement...", Completed, {Value("acp_lower_5mhz", -40, "dB")}),
        RunOf("acp", "ACP Measurement...", Failed, {}),
    };
    EXPECT_EQ(RunSummary(runs),
              "\r\n"
              "Summary of 5 runs of acp (ACP Measurement...): 1 pass, 1 fail, 3 incomplete\r\n"
              "  acp_lower_5mhz: min -54.00 dB, mean -48.00 dB, max -40.00 dB, "
              "std dev 7.21 dB (3 runs)\r\n");
}

TEST(RunSummary, CountsOutcomesWhereThereIsNoLimit) {
    using enum MeasurementOutcome;
    const char* title = "CH Power Measurement...";
    const std::vector<MeasurementRecord> runs = {
        RunOf("ch-power", title, Completed, {Value("channel_power", -10.2, "dBm")}),
        RunOf("ch-power", title, Warning, {Value("channel_power", -10.4, "dBm")}),
        RunOf("ch-power", title, Failed, {}),
    };
    EXPECT_EQ(RunSummary(runs),
              "\r\n"
              "Summary of 3 runs of ch-power (CH Power Measurement...): 1 completed, "
              "1 with a warning, 1 failed\r\n"
              "  channel_power: min -10.40 dBm, mean -10.30 dBm, max -10.20 dBm, "
              "std dev 0.14 dBm (2 runs)\r\n");
}

TEST(RunSummary, ShowsFrequenciesInMegahertz) {
    using enum MeasurementOutcome;
    const char* title = "OBW Measurement...";
    const std::vector<MeasurementRecord> runs = {
        RunOf("obw", title, Completed,
              {Value("occupied_bandwidth", 4167031, "Hz"),
               Value("occupied_band_center", 2000e6, "Hz")}),
        RunOf("obw", title, Completed,
              {Value("occupied_bandwidth", 4168031, "Hz"),
               Value("occupied_band_center", 2000.001e6, "Hz")}),
    };
    EXPECT_EQ(RunSummary(runs),
              "\r\n"
              "Summary of 2 runs of obw (OBW Measurement...): 2 pass, 0 fail, 0 incomplete\r\n"
              "  occupied_bandwidth: min 4.1670 MHz, mean 4.1675 MHz, max 4.1680 MHz, "
              "std dev 0.0007 MHz (2 runs)\r\n"
              "  occupied_band_center: min 2000.0000 MHz, mean 2000.0005 MHz, max 2000.0010 MHz, "
              "std dev 0.0007 MHz (2 runs)\r\n");
}

TEST(RunSummary, OneRunAndNone) {
    using enum MeasurementOutcome;
    EXPECT_EQ(RunSummary({}), "");
    EXPECT_EQ(RunSummary({RunOf("sem", "S.E.M. Measurement...", Completed,
                                {Row(1, 1992e6, 1996e6, 1995.5e6, -70.29)})}),
              "\r\n"
              "Summary of 1 run of sem (S.E.M. Measurement...): 1 pass, 0 fail, 0 incomplete\r\n"
              "  row_1: min -70.29 dBm, mean -70.29 dBm, max -70.29 dBm, std dev 0.00 dBm "
              "(1 run)\r\n");
    // A mask run whose rows lie outside the mask cannot be judged there: incomplete.
    EXPECT_EQ(RunSummary({RunOf("sem", "S.E.M. Measurement...", Completed,
                                {Row(1, 1992e6, 1996e6, 1995.5e6, -70.29)}),
                          RunOf("sem", "S.E.M. Measurement...", Completed,
                                {Row(1, 1982e6, 1986e6, 1985.5e6, -70.31)})}),
              "\r\n"
              "Summary of 2 runs of sem (S.E.M. Measurement...): 1 pass, 0 fail, 1 incomplete\r\n"
              "  row_1: min -70.31 dBm, mean -70.30 dBm, max -70.29 dBm, std dev 0.01 dBm "
              "(2 runs)\r\n");
}

}  // namespace
}  // namespace kelvane::testing
