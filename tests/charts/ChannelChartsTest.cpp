// The charts of adjacent channel power and occupied bandwidth.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "charts/ChartModel.h"
#include "tests/charts/ChartChecks.h"
#include "tests/results/SampleRecords.h"
#include "tests/results/SampleResults.h"

namespace kelvane::testing {
namespace {

// The carrier at 0 dBc, then the adjacent channels in the log's order at their offsets, each
// toned by its verdict and labelled with its value and margin.
TEST(AdjacentChannelChart, CarrierAndChannelsAsBars) {
    const ChartModel chart = ChartOf(Record("acp", AcpResult()));
    const std::vector<ChartBar> bars = {
        {0, 3.84, 0, ChartTone::Neutral, "carrier -10.20 dBm"},
        {-5, 3.84, -54.75, ChartTone::Pass, "-54.75 dB (+9.75)"},
        {5, 3.84, -40.5, ChartTone::Fail, "-40.50 dB (-4.50)"},
        {-10, 3.84, -60.25, ChartTone::Pass, "-60.25 dB (+10.25)"},
        {10, 3.84, -61, ChartTone::Pass, "-61.00 dB (+11.00)"},
    };
    EXPECT_EQ(chart.bars, bars);
    EXPECT_EQ(chart.x.title, "Offset from 2000 MHz (MHz)");
    EXPECT_EQ(chart.y.title, "Power relative to the carrier (dBc)");
    EXPECT_EQ(chart.x.max, 15);
    EXPECT_EQ(chart.y.min, -70);
    EXPECT_EQ(chart.y.max, 10);
    ExpectEverythingInside(chart);
}

// -50 dB over the channels at +-10 MHz, -45 dB over those at +-5 MHz, each 3.84 MHz wide; drawn
// also for channels that a failed run did not reach.
TEST(AdjacentChannelChart, LimitsOverTheirChannels) {
    MeasurementResult partial = AcpResult();
    partial.values.resize(2);  // the carrier and -5 MHz
    partial.outcome = MeasurementOutcome::Failed;
    partial.message = "ACP Measurement failed: \"ACP?\" answer 1 has 2 fields, 4 expected";
    for (const MeasurementResult& result : {AcpResult(), partial}) {
        const ChartModel chart = ChartOf(Record("acp", result));
        struct Limit {
            double offset, level;
        };
        const Limit limits[] = {{-10, -50}, {-5, -45}, {5, -45}, {10, -50}};
        ASSERT_EQ(chart.lines.size(), 4u);
        for (std::size_t i = 0; i < 4; ++i) {
            SCOPED_TRACE(limits[i].offset);
            const ChartPolyline& line = chart.lines[i];
            EXPECT_EQ(line.tone, ChartTone::Limit);
            ASSERT_EQ(line.points.size(), 2u);
            EXPECT_NEAR(line.points[0].x, limits[i].offset - 1.92, 1e-12);
            EXPECT_NEAR(line.points[1].x, limits[i].offset + 1.92, 1e-12);
            EXPECT_EQ(line.points[0].y, limits[i].level);
            EXPECT_EQ(line.points[1].y, limits[i].level);
        }
        ExpectEverythingInside(chart);
    }
    const ChartModel chart = ChartOf(Record("acp", partial));
    EXPECT_EQ(chart.title, "ACP: INCOMPLETE");
    ASSERT_EQ(chart.bars.size(), 2u);
    EXPECT_EQ(chart.bars[0].label, "carrier -10.20 dBm");
    EXPECT_EQ(chart.bars[1].x, -5);
}

// Before the carrier's power is logged its bar says only what it is.
TEST(AdjacentChannelChart, CarrierWithoutItsPower) {
    MeasurementResult result = AcpResult();
    result.values.erase(result.values.begin());
    const ChartModel chart = ChartOf(Record("acp", result));
    ASSERT_EQ(chart.bars.size(), 5u);
    EXPECT_EQ(chart.bars[0], (ChartBar{0, 3.84, 0, ChartTone::Neutral, "carrier"}));
}

MeasurementRecord ObwRecord(std::vector<MeasuredValue> values, double centerHz = 2000e6) {
    return Record("obw", Result("OBW Measurement...", MeasurementOutcome::Completed,
                                std::move(values), centerHz));
}

// The 5 MHz limit's edges as dashed lines with its width as a bracket between them, the
// occupied band as a box around its own center inside (or beyond) them, the center marked; the
// y axis has no scale.
TEST(OccupiedBandwidthChart, LimitAndOccupiedBand) {
    struct Case {
        MeasurementRecord record;
        ChartBand occupied;
        std::string center;  // the center marker's label; empty: none
        std::string title;
        double xMax;
    };
    const Case cases[] = {
        {ObwRecord({Value("occupied_bandwidth", 4167342, "Hz"),
                    Value("occupied_band_center", 1999999686, "Hz")}),
         {-0.000314 - 2.083671, -0.000314 + 2.083671, 0.2, 0.55, ChartTone::Pass, "OBW 4.167 MHz"},
         "center 2000.000 MHz",
         "OBW: PASS, margin 0.833 MHz",
         3},
        {ObwRecord({Value("occupied_bandwidth", 5.2e6, "Hz"),
                    Value("occupied_band_center", 2141e6, "Hz")},
                   2140e6),
         {-1.6, 3.6, 0.2, 0.55, ChartTone::Fail, "OBW 5.200 MHz"},
         "center 2141.000 MHz",
         "OBW: FAIL, margin -0.200 MHz",
         4},
        // Failed before the center was logged: around the carrier, no center named.
        {ObwRecord({Value("occupied_bandwidth", 4e6, "Hz")}),
         {-2, 2, 0.2, 0.55, ChartTone::Pass, "OBW 4.000 MHz"},
         "",
         "OBW: PASS, margin 1.000 MHz",
         3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        const ChartModel chart = ChartOf(c.record);
        const std::vector<ChartPolyline> limits = {{{{-2.5, 0}, {-2.5, 1}}, ChartTone::Limit, true},
                                                   {{{2.5, 0}, {2.5, 1}}, ChartTone::Limit, true}};
        EXPECT_EQ(chart.lines, limits);
        EXPECT_EQ(chart.spans,
                  (std::vector<ChartSpan>{{-2.5, 2.5, 0.82, ChartTone::Limit, "limit 5 MHz"}}));
        ASSERT_EQ(chart.bands.size(), 1u);
        EXPECT_NEAR(chart.bands[0].x1, c.occupied.x1, 1e-9);
        EXPECT_NEAR(chart.bands[0].x2, c.occupied.x2, 1e-9);
        EXPECT_EQ(chart.bands[0].y1, c.occupied.y1);
        EXPECT_EQ(chart.bands[0].y2, c.occupied.y2);
        EXPECT_EQ(chart.bands[0].tone, c.occupied.tone);
        EXPECT_EQ(chart.bands[0].label, c.occupied.label);
        ASSERT_EQ(chart.markers.size(), c.center.empty() ? 0u : 1u);
        if (!c.center.empty()) {
            EXPECT_NEAR(chart.markers[0].at.x, (c.occupied.x1 + c.occupied.x2) / 2, 1e-9);
            EXPECT_EQ(chart.markers[0].label, c.center);
            EXPECT_EQ(chart.markers[0].tone, ChartTone::Neutral);
        }
        EXPECT_EQ(chart.title, c.title);
        EXPECT_EQ(chart.x.max, c.xMax);
        EXPECT_EQ(chart.y, (ChartAxis{"", 0, 1, {}}));
        EXPECT_TRUE(chart.bars.empty());
        EXPECT_EQ(chart.legend.size(), 4u);
        ExpectEverythingInside(chart);
    }
}

}  // namespace
}  // namespace kelvane::testing
