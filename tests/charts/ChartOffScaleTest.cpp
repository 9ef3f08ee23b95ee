// Fitting a chart into its axes: whatever the values, every element ends up inside them, and
// what had to move says so (off-scale, open ends), so that the painter can mark it. Records with
// values no analyzer should give (+-1e300, 1e100, NaN, infinity) still make charts whose axes
// are those of the sane values, with the absurd ones at the axes' ends, their numbers short in
// their labels.
#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "charts/ChartModel.h"
#include "charts/ChartOffScale.h"
#include "tests/charts/ChartChecks.h"
#include "tests/results/SampleRecords.h"
#include "tests/results/SampleResults.h"

namespace kelvane::testing {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kHuge = 1e300;
constexpr double kInfinity = std::numeric_limits<double>::infinity();

ChartModel Axes() {
    ChartModel model;
    model.x = {"x", -10, 10, {-10, 0, 10}};
    model.y = {"y", -80, 0, {-80, -40, 0}};
    return model;
}

TEST(ChartOffScale, MarkersStandAtTheAxesEnds) {
    struct Case {
        ChartPoint at;
        ChartPoint fitted;
        ChartOffScale offScale;
    };
    const Case cases[] = {
        {{5, -40}, {5, -40}, {0, 0}},          // inside: as it was
        {{10, 0}, {10, 0}, {0, 0}},            // on the ends: not beyond them
        {{kHuge, -40}, {10, -40}, {1, 0}},     // right
        {{-3, -kHuge}, {-3, -80}, {0, -1}},    // below
        {{-1e100, 1e100}, {-10, 0}, {-1, 1}},  // left and above
    };
    for (const Case& c : cases) {
        ChartModel model = Axes();
        model.markers = {{c.at, ChartTone::Pass, "m"}, {{kNaN, 0}, ChartTone::Fail, "no number"}};
        FitIntoAxes(model);
        ASSERT_EQ(model.markers.size(), 1u) << c.at.x << ", " << c.at.y;
        EXPECT_EQ(model.markers[0].at, c.fitted) << c.at.x << ", " << c.at.y;
        EXPECT_EQ(model.markers[0].offScale, c.offScale) << c.at.x << ", " << c.at.y;
    }
}

TEST(ChartOffScale, BarsSpansAndBandsAreCut) {
    ChartModel model = Axes();
    model.bars = {{0, 4, kHuge, ChartTone::Fail, "up"},
                  {5, 4, -kHuge, ChartTone::Pass, "down"},
                  {9, 4, -40, ChartTone::Pass, "half out"},
                  {kHuge, 4, -40, ChartTone::Pass, "beyond"},
                  {0, 4, kNaN, ChartTone::Pass, "no number"}};
    model.spans = {{-kHuge, 5, -70}, {12, 15, -70}, {5, -5, -kHuge}};
    model.bands = {{-kHuge, kHuge, 0.2, 0.5}};
    FitIntoAxes(model);

    const std::vector<ChartBar> bars = {{0, 4, 0, ChartTone::Fail, "up", 1},
                                        {5, 4, -80, ChartTone::Pass, "down", -1},
                                        {8.5, 3, -40, ChartTone::Pass, "half out", 0}};
    EXPECT_EQ(model.bars, bars);
    const std::vector<ChartSpan> spans = {
        {-10, 5, -70, ChartTone::Neutral, "", true, false},  // from far left
        {10, 10, -70, ChartTone::Neutral, "", false, true},  // wholly right: shrunk to the end
        {-5, 5, -80}};                                       // ends in order, held in y
    EXPECT_EQ(model.spans, spans);
    ASSERT_EQ(model.bands.size(), 1u);
    EXPECT_EQ(model.bands[0].x1, -10);
    EXPECT_EQ(model.bands[0].x2, 10);
    EXPECT_TRUE(model.bands[0].openLeft && model.bands[0].openRight);
}

// A line is cut where it leaves the axes and goes on as a line of its own where it comes back;
// only its first part keeps the label.
TEST(ChartOffScale, LinesAreCutAtTheAxes) {
    struct Case {
        const char* what;
        std::vector<ChartPoint> points;
        std::vector<std::vector<ChartPoint>> parts;
    };
    const Case cases[] = {
        {"inside", {{-5, -40}, {5, -40}}, {{{-5, -40}, {5, -40}}}},
        {"across", {{-20, -40}, {20, -40}}, {{{-10, -40}, {10, -40}}}},
        {"out and back",
         {{-5, -40}, {0, 40}, {5, -40}},
         {{{-5, -40}, {-2.5, 0}}, {{2.5, 0}, {5, -40}}}},
        {"a point that is no number", {{-5, -50}, {kNaN, 0}, {5, -50}}, {{{-5, -50}, {5, -50}}}},
        {"wholly beyond", {{20, 0}, {30, 0}}, {}},
        {"to 1e300", {{0, -40}, {0, kHuge}}, {{{0, -40}, {0, 0}}}},
        {"between 1e308s", {{-1e308, -40}, {1e308, -40}}, {{{-10, -40}, {10, -40}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ChartModel model = Axes();
        model.lines = {{c.points, ChartTone::Limit, false, "limit"}};
        FitIntoAxes(model);
        ASSERT_EQ(model.lines.size(), c.parts.size());
        for (std::size_t i = 0; i < c.parts.size(); ++i) {
            EXPECT_EQ(model.lines[i].points, c.parts[i]);
            EXPECT_EQ(model.lines[i].label, i == 0 ? "limit" : "");
        }
    }
}

void SetLevel(MeasuredValue& row, double level) { row.value = row.row->levelDbm = level; }

MeasurementResult Obw(double bandwidthHz, double centerHz) {
    return Result("OBW Measurement...", MeasurementOutcome::Completed,
                  {Value("occupied_bandwidth", bandwidthHz, "Hz"),
                   Value("occupied_band_center", centerHz, "Hz")});
}

struct Absurd {
    std::string what;
    std::string measurement;
    MeasurementResult sane;  // the same run without the absurd value
    std::function<void(MeasurementResult&)> spoil;
    double mostX;            // half the span swept
    std::size_t offScale;    // markers and bars flagged off-scale
    std::string shortened;   // a label that must carry the value's short form
    bool saneLevels = true;  // the sane run's level axis holds
};

std::vector<Absurd> Cases() {
    return {
        {"a mask row at +1e300 dBm", "sem", WcdmaMaskResult(),
         [](MeasurementResult& r) { SetLevel(r.values[0], 1e300); }, 10, 1, "1.00e+300 dBm"},
        {"a mask row at -1e300 dBm", "sem", WcdmaMaskResult(),
         [](MeasurementResult& r) { SetLevel(r.values[1], -1e300); }, 10, 1, "-1.00e+300 dBm"},
        {"a mask row's FREQ at 1e300 Hz", "sem", WcdmaMaskResult(),
         [](MeasurementResult& r) { r.values[0].row->frequencyHz = 1e300; }, 10, 1, "e+294 MHz"},
        {"a mask row's START at -1e300 Hz", "sem", WcdmaMaskResult(),
         [](MeasurementResult& r) { r.values[0].row->startHz = -1e300; }, 10, 0, ""},
        {"a WLAN mask built on a peak of 1e300 dBm", "sem-11a",
         Result("SEM Measurement...", MeasurementOutcome::Completed,
                {Row(1, 4996e6, 5005e6, 5002.5e6, -24.8, 0.2, true)}, 5005e6, Wlan11aMask(-25)),
         [](MeasurementResult& r) { r.mask = Wlan11aMask(1e300); }, 40, 0, "", false},
        {"an adjacent channel at +1e300 dB", "acp", AcpResult(),
         [](MeasurementResult& r) { r.values[1].value = 1e300; }, 15, 1, "1.00e+300 dB"},
        {"an adjacent channel at 1e100 dB and one infinite", "acp", AcpResult(),
         [](MeasurementResult& r) { r.values[2].value = 1e100, r.values[4].value = kInfinity; }, 15,
         1, "1.00e+100 dB"},
        {"an occupied bandwidth of 1e300 Hz", "obw", Obw(4.2e6, 2000e6),
         [](MeasurementResult& r) { r.values[0].value = 1e300; }, 5, 0, "OBW 1.000e+294 MHz"},
        {"an occupied band's center at 1e300 Hz", "obw", Obw(4.2e6, 2000e6),
         [](MeasurementResult& r) { r.values[1].value = 1e300; }, 5, 1, "center 1.000e+294 MHz"},
    };
}

std::vector<std::string> Labels(const ChartModel& model) {
    std::vector<std::string> labels;
    for (const ChartMarker& marker : model.markers) labels.push_back(marker.label);
    for (const ChartBar& bar : model.bars) labels.push_back(bar.label);
    for (const ChartBand& band : model.bands) labels.push_back(band.label);
    for (const ChartPolyline& line : model.lines) labels.push_back(line.label);
    for (const ChartSpan& span : model.spans) labels.push_back(span.label);
    return labels;
}

TEST(AbsurdValuesChart, AxesOfTheSaneValuesAndTheRestOffScale) {
    for (const Absurd& c : Cases()) {
        SCOPED_TRACE(c.what);
        MeasurementResult spoiled = c.sane;
        c.spoil(spoiled);
        const ChartModel sane = ChartOf(Record(c.measurement, c.sane));
        const ChartModel chart = ChartOf(Record(c.measurement, spoiled));

        EXPECT_TRUE(std::isfinite(chart.x.min) && std::isfinite(chart.x.max));
        EXPECT_LE(chart.x.max, c.mostX);
        EXPECT_LE(chart.y.max - chart.y.min, 300);
        ExpectEverythingInside(chart);
        // A level beyond reason does not move the level axis, unless it is the limits' (then
        // the values' own levels make it).
        if (c.saneLevels) {
            EXPECT_EQ(chart.y, sane.y);
        }

        std::size_t offScale = 0;
        for (const ChartMarker& marker : chart.markers) offScale += marker.offScale.Any();
        for (const ChartBar& bar : chart.bars) offScale += bar.offScale != 0;
        EXPECT_EQ(offScale, c.offScale);
        bool shortened = c.shortened.empty();
        for (const std::string& label : Labels(chart)) {
            EXPECT_LE(label.size(), 48u) << label;
            shortened = shortened || label.find(c.shortened) != std::string::npos;
        }
        EXPECT_TRUE(shortened) << c.shortened;
    }
}

}  // namespace
}  // namespace kelvane::testing
