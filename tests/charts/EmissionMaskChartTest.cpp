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
    struct Bracket {
        double x1, x2;
        bool openRight;
    };
    const Bracket brackets[] = {{-8, -4, false}, {4, 8, false}, {10, 10, true}};
    const double height = chart.y.max - chart.y.min;
    for (std::size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(chart.spans[i].x1, brackets[i].x1);
        EXPECT_EQ(chart.spans[i].x2, brackets[i].x2);
        EXPECT_EQ(chart.spans[i].openRight, brackets[i].openRight);
        EXPECT_FALSE(chart.spans[i].openLeft);
        EXPECT_LT(chart.spans[i].y, chart.y.min + 0.1 * height);  // along the bottom
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
    EXPECT_EQ(chart.title, "S.E.M. (W-CDMA): INCOMPLETE");
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

}  // namespace
}  // namespace kelvane::testing
