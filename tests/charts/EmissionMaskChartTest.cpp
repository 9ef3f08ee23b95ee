#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "charts/ChartModel.h"
#include "tests/charts/ChartChecks.h"
#include "tests/results/SampleRecords.h"
#include "tests/results/SampleResults.h"

namespace kelvane::testing {
namespace {

// Each segment of the mask sent, first mirrored below the carrier, then above it, both drawn
// from left to right; a flat segment's upper side names its level.
TEST(EmissionMaskChart, MaskSentAsLimitLinesOnBothSides) {
    const ChartModel chart = ChartOf(Record("sem", WcdmaMaskResult()));
    const std::vector<ChartPolyline> expected = {
        {{{-2.715, -14}, {-2.515, -14}}, ChartTone::Limit},
        {{{2.515, -14}, {2.715, -14}}, ChartTone::Limit, false, "limit -14 dBm"},
        {{{-3.515, -26}, {-2.715, -14}}, ChartTone::Limit},
        {{{2.715, -14}, {3.515, -26}}, ChartTone::Limit},
        {{{-4.0, -26}, {-3.515, -26}}, ChartTone::Limit},
        {{{3.515, -26}, {4.0, -26}}, ChartTone::Limit, false, "limit -26 dBm"},
        {{{-8.0, -13}, {-4.0, -13}}, ChartTone::Limit},
        {{{4.0, -13}, {8.0, -13}}, ChartTone::Limit, false, "limit -13 dBm"},
    };
    EXPECT_EQ(chart.lines, expected);
    const std::vector<ChartLegendEntry> legend = {
        {ChartSymbol::Line, ChartTone::Limit, "limit"},
        {ChartSymbol::Bracket, ChartTone::Neutral, "row's range"},
        {ChartSymbol::Dot, ChartTone::Pass, "worst point, pass"},
        {ChartSymbol::Cross, ChartTone::Fail, "fail"}};
    EXPECT_EQ(chart.legend, legend);
}

// START-STOP as a bracket along the bottom, neighbours in turns on two lanes; FREQ and ABS LEV
// as the marker with the row's margin; a row over its limit fails, one in no segment of the
// mask has no limit. A row beyond the 20 MHz span swept stands at the axis' end, off-scale.
TEST(EmissionMaskChart, RowsAsBracketsAndWorstPoints) {
    MeasurementResult result =
        Result("S.E.M. Measurement...", MeasurementOutcome::Completed,
               {Row(1, 1992.00e6, 1996.00e6, 1995.50e6, -70.29),  // limit -13 dBm
                Row(2, 2004.00e6, 2008.00e6, 2005.00e6, -11.8),   // 1.2 dB over -13 dBm
                Row(3, 2010.00e6, 2012.00e6, 2011.00e6, -60)},    // beyond the mask and span
               2000e6, WcdmaMask());
    const ChartModel chart = ChartOf(Record("sem", result));
    EXPECT_EQ(chart.x.max, 10);  // half the span swept, though row 3 reaches 12 MHz
    ASSERT_EQ(chart.spans.size(), 3u);
    const ChartSpan brackets[] = {
        {-8, -4}, {4, 8}, {10, 10, 0, ChartTone::Neutral, "", false, true}};
    const double height = chart.y.max - chart.y.min;
    for (std::size_t i = 0; i < 3; ++i) {
        ChartSpan bracket = chart.spans[i];
        EXPECT_LT(bracket.y, chart.y.min + 0.1 * height) << i;  // along the bottom
        bracket.y = 0;
        EXPECT_EQ(bracket, brackets[i]) << i;
    }
    EXPECT_NE(chart.spans[0].y, chart.spans[1].y);
    EXPECT_EQ(chart.spans[0].y, chart.spans[2].y);
    const std::vector<ChartMarker> markers = {
        {{-4.5, -70.29}, ChartTone::Pass, "+57.29 dB"},
        {{5, -11.8}, ChartTone::Fail, "-1.20 dB"},
        {{10, -60}, ChartTone::Neutral, "no limit at 11.000 MHz", {1, 0}}};
    EXPECT_EQ(chart.markers, markers);
    EXPECT_EQ(chart.title, "S.E.M. (W-CDMA): FAIL, worst margin -1.20 dB");
    EXPECT_EQ(chart.verdict, Verdict::Fail);
    ExpectEverythingInside(chart);
    ExpectNothingPassingAboveTheLimit(chart);
}

// A WLAN row passes or fails by the analyzer's word, whatever Kelvane's margin says; where the
// mask sent has no segment for it, the word is its label.
TEST(EmissionMaskChart, WlanRowsToneByTheAnalyzersWord) {
    const double center = 5005e6;
    MeasurementResult result =
        Result("SEM Measurement...", MeasurementOutcome::Completed,
               {Row(1, 4996e6, 5005e6, 5002.5e6, -24.8, 0.2, true),
                Row(2, 5005e6, 5014e6, 5007e6, -30, -5, false),  // inside Kelvane's limit
                Row(3, 5045e6, 5050e6, 5046e6, -80, -55, true),
                Row(4, 5045e6, 5050e6, 5047e6, -70, -45, false)},
               center, Wlan11aMask(-25));
    result.spanHz = 80e6;
    const ChartModel chart = ChartOf(Record("sem-11a", result));
    // Rows 3 and 4 lie beyond the 80 MHz span swept.
    const std::vector<ChartMarker> markers = {
        {{-2.5, -24.8}, ChartTone::Pass, "+1.80 dB"},
        {{2, -30}, ChartTone::Fail, "+7.00 dB"},
        {{40, -80}, ChartTone::Pass, "PASS at 41.000 MHz", {1, 0}},
        {{40, -70}, ChartTone::Fail, "FAIL at 42.000 MHz", {1, 0}}};
    EXPECT_EQ(chart.markers, markers);
    EXPECT_EQ(chart.title, "SEM (11a): FAIL");  // its rows with a margin are in the channel
    EXPECT_EQ(chart.x.title, "Offset from 5005 MHz (MHz)");
    EXPECT_EQ(chart.y.title, "Level (dBm)");
    // The flat first segment starts at the carrier: its mirror ends there.
    ASSERT_EQ(chart.lines.size(), 10u);
    EXPECT_EQ(chart.lines[0].points, (std::vector<ChartPoint>{{-9, -23}, {0, -23}}));
    EXPECT_EQ(chart.lines[1].points, (std::vector<ChartPoint>{{0, -23}, {9, -23}}));
    EXPECT_FALSE(std::signbit(chart.lines[0].points[1].x));  // +0 like its twin, not -0
    ExpectEverythingInside(chart);
}

// A run that failed after some rows still shows them, with the mask it had sent and why it
// stopped.
TEST(EmissionMaskChart, FailedRunShowsWhatItLogged) {
    MeasurementResult result = WcdmaMaskResult();
    result.values.resize(1);
    result.outcome = MeasurementOutcome::Failed;
    result.message = "S.E.M. Measurement failed: no answer to \"SEM?\"";
    const ChartModel chart = ChartOf(Record("sem", result));
    EXPECT_EQ(chart.verdict, Verdict::Incomplete);
    EXPECT_EQ(chart.lines.size(), 8u);
    EXPECT_EQ(chart.spans.size(), 1u);
    ASSERT_EQ(chart.markers.size(), 1u);
    EXPECT_EQ(chart.markers[0].label, "+57.29 dB");
    ASSERT_EQ(chart.facts.size(), 8u);
    EXPECT_EQ(chart.facts.back(), result.message);
    ExpectEverythingInside(chart);
}

// The W-CDMA mask's sample run: +-10 MHz every 2 MHz, -90 to 0 dBm every 10 dB.
TEST(EmissionMaskChart, AxesOfTheWcdmaMask) {
    const ChartModel chart = ChartOf(Record("sem", WcdmaMaskResult()));
    EXPECT_EQ(chart.x.title, "Offset from 2000 MHz (MHz)");
    EXPECT_EQ(chart.x.ticks, (std::vector<double>{-10, -8, -6, -4, -2, 0, 2, 4, 6, 8, 10}));
    EXPECT_EQ(chart.y.min, -90);
    EXPECT_EQ(chart.y.max, 0);
    EXPECT_EQ(chart.y.ticks.size(), 10u);
    ExpectEverythingInside(chart);
}

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

// The emission masks as a report shows them: values and limits at the DUT. Where the limit
// follows the path loss, each of its points lies higher by the loss at its
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
