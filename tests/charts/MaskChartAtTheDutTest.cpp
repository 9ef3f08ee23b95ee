// The emission masks as a report shows them: values and limits at the DUT, and nothing of a
// row that passes drawn above its limit line.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "charts/ChartModel.h"
#include "tests/charts/ChartChecks.h"
#include "tests/results/SampleRecords.h"
#include "tests/results/SampleResults.h"

namespace kelvane::testing {
namespace {

// Rows that pass under a sloping stretch of their limit, where a bar at the row's level across
// its whole range would rise above the line: the W-CDMA mask's -3.515 to -2.715 MHz slope and
// the 802.11a mask's -30 to -20 MHz one.
TEST(MaskChartAtTheDut, NothingOfAPassingRowAboveItsLimit) {
    const MeasurementResult wcdma =
        Result("S.E.M. Measurement...", MeasurementOutcome::Completed,
               {Row(1, 1996.485e6, 1997.285e6, 1997.28e6, -15, -5),    // limit -14.06 at FREQ
                Row(2, 2002.715e6, 2003.515e6, 2002.72e6, -14.5, -5),  // limit -14.07 at FREQ
                Row(3, 2004e6, 2008e6, 2005e6, -10)},                  // 3 dB over: fails
               2000e6, WcdmaMask());
    const MeasurementResult wlan = Result("SEM Measurement...", MeasurementOutcome::Completed,
                                          {Row(1, 4975e6, 4985e6, 4985e6, -58, -33, true),
                                           Row(2, 5025e6, 5035e6, 5025e6, -58.5, -33, true)},
                                          5005e6, Wlan11aMask(-25));
    for (const auto& [measurement, result] : {std::pair{"sem", wcdma}, {"sem-11a", wlan}}) {
        SCOPED_TRACE(measurement);
        const ChartModel chart = ChartOf(Record(measurement, result));
        ASSERT_EQ(chart.spans.size(), result.values.size());
        ExpectNothingPassingAboveTheLimit(chart);
    }
}

// Each value at JudgedValue::value (the level at the DUT), not at the analyzer's.
TEST(MaskChartAtTheDut, ValuesAtTheDut) {
    MeasurementRecord mask = Record("sem", WcdmaMaskResult());
    MeasurementRecord acp = Record("acp", AcpResult());
    MeasurementRecord obw =
        Record("obw", Result("OBW Measurement...", MeasurementOutcome::Completed,
                             {Value("occupied_bandwidth", 4e6, "Hz"),
                              Value("occupied_band_center", 2000e6, "Hz")}));
    mask.judgement.values[0].value = -40.29;  // the analyzer's -70.29 and 30 dB
    acp.judgement.values[1].value = -50.5;    // acp_lower_5mhz, the analyzer's -54.75
    obw.judgement.values[0].value = 4.5e6;
    EXPECT_EQ(ChartOf(mask).markers[0].at, (ChartPoint{-4.5, -40.29}));
    EXPECT_EQ(ChartOf(acp).bars[1].top, -50.5);
    const ChartBand band = ChartOf(obw).bands.at(0);
    EXPECT_DOUBLE_EQ(band.x2 - band.x1, 4.5);
    EXPECT_EQ(band.label, "OBW 4.500 MHz");
}

// Where the limit follows the path loss, each of its points lies higher by the loss at its
// side's frequency, and a table's rows inside a segment are points of their own; the y axis
// says where the levels are.
TEST(MaskChartAtTheDut, LimitRaisedByThePathLoss) {
    const double center = 5005e6;
    const MeasurementResult result = Result("SEM Measurement...", MeasurementOutcome::Completed,
                                            {Row(1, 4996e6, 5005e6, 5002.5e6, -24.8, 0.2, true)},
                                            center, {{9e6, 11e6, -23, -43}});
    struct Case {
        std::string what;
        PathLoss loss;
        bool follows;
        std::vector<std::vector<ChartPoint>> lines;  // lower side, upper side
        std::string yTitle;
    };
    const PathLoss table = PathLoss::Table({{4990e6, 10}, {5015e6, 20}, {5020e6, 40}}, "loss.csv");
    const Case cases[] = {
        {"none",
         PathLoss(),
         false,
         {{{-11, -43}, {-9, -23}}, {{9, -23}, {11, -43}}},
         "Level (dBm)"},
        {"fixed, not followed (W-CDMA)",
         PathLoss::Fixed(30),
         false,
         {{{-11, -43}, {-9, -23}}, {{9, -23}, {11, -43}}},
         "Level at the DUT (dBm)"},
        {"fixed",
         PathLoss::Fixed(30),
         true,
         {{{-11, -13}, {-9, 7}}, {{9, 7}, {11, -13}}},
         "Level at the DUT (dBm)"},
        // Below: 4994 MHz (11.6 dB) and 4996 MHz (12.4 dB). Above: 5014 MHz (19.6 dB), the
        // row at 5015 MHz (-33 + 20) and 5016 MHz (24 dB).
        {"table",
         table,
         true,
         {{{-11, -31.4}, {-9, -10.6}}, {{9, -3.4}, {10, -13}, {11, -19}}},
         "Level at the DUT (dBm)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MeasurementRecord record = Record("sem-11a", result);
        record.setup.pathLoss = c.loss;
        record.judgement.limitFollowsPathLoss = c.follows;
        const ChartModel chart = ChartOf(record);
        ASSERT_EQ(chart.lines.size(), c.lines.size());
        for (std::size_t i = 0; i < c.lines.size(); ++i) {
            ASSERT_EQ(chart.lines[i].points.size(), c.lines[i].size()) << i;
            for (std::size_t j = 0; j < c.lines[i].size(); ++j) {
                EXPECT_NEAR(chart.lines[i].points[j].x, c.lines[i][j].x, 1e-9) << i << "," << j;
                EXPECT_NEAR(chart.lines[i].points[j].y, c.lines[i][j].y, 1e-9) << i << "," << j;
            }
        }
        EXPECT_EQ(chart.y.title, c.yTitle);
    }
}

}  // namespace
}  // namespace kelvane::testing
