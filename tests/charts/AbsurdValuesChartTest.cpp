// Records with values no analyzer should give (+-1e300, 1e100, NaN, infinity) still make charts
// whose axes are those of the sane values, with the absurd ones at the axes' ends, off-scale,
// their numbers short in their labels.
#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "charts/ChartModel.h"
#include "tests/charts/ChartChecks.h"
#include "tests/results/SampleRecords.h"
#include "tests/results/SampleResults.h"

namespace kelvane::testing {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();

void SetLevel(MeasuredValue& row, double level) { row.value = row.row->levelDbm = level; }

MeasurementResult Obw(double bandwidthHz, double centerHz) {
    return Result("OBW Measurement...", MeasurementOutcome::Completed,
                  {Value("occupied_bandwidth", bandwidthHz, "Hz"),
                   Value("occupied_band_center", centerHz, "Hz")});
}

struct Case {
    std::string what;
    std::string measurement;
    MeasurementResult sane;  // the same run without the absurd value
    std::function<void(MeasurementResult&)> spoil;
    double mostX;            // half the span swept
    std::size_t offScale;    // markers and bars flagged off-scale
    std::string shortened;   // a label that must carry the value's short form
    bool saneLevels = true;  // the sane run's level axis holds
};

std::vector<Case> Cases() {
    return {
        {"a mask row at +1e300 dBm", "sem", WcdmaMaskResult(),
         [](MeasurementResult& r) { SetLevel(r.values[0], 1e300); }, 10, 1, "1.00e+300 dBm"},
        {"a mask row at -1e300 dBm", "sem", WcdmaMaskResult(),
         [](MeasurementResult& r) { SetLevel(r.values[1], -1e300); }, 10, 1, "-1.00e+300 dBm"},
        {"a mask row at 1e100 dBm", "sem", WcdmaMaskResult(),
         [](MeasurementResult& r) { SetLevel(r.values[2], 1e100); }, 10, 1, "1.00e+100 dBm"},
        {"a mask row's FREQ at 1e300 Hz", "sem", WcdmaMaskResult(),
         [](MeasurementResult& r) { r.values[0].row->frequencyHz = 1e300; }, 10, 1, "e+294 MHz"},
        {"a mask row's START at -1e300 Hz", "sem", WcdmaMaskResult(),
         [](MeasurementResult& r) { r.values[0].row->startHz = -1e300; }, 10, 0, ""},
        {"a mask row at NaN dBm", "sem", WcdmaMaskResult(),
         [](MeasurementResult& r) { SetLevel(r.values[0], kNaN); }, 10, 0, ""},
        {"a WLAN mask built on a peak of 1e300 dBm", "sem-11a",
         Result("SEM Measurement...", MeasurementOutcome::Completed,
                {Row(1, 4996e6, 5005e6, 5002.5e6, -24.8, 0.2, true)}, 5005e6, Wlan11aMask(-25)),
         [](MeasurementResult& r) { r.mask = Wlan11aMask(1e300); }, 40, 0, "", false},
        {"an adjacent channel at +1e300 dB", "acp", AcpResult(),
         [](MeasurementResult& r) { r.values[1].value = 1e300; }, 15, 1, "1.00e+300 dB"},
        {"an adjacent channel at -1e300 dB", "acp", AcpResult(),
         [](MeasurementResult& r) { r.values[3].value = -1e300; }, 15, 1, "-1.00e+300 dB"},
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
    for (const Case& c : Cases()) {
        SCOPED_TRACE(c.what);
        MeasurementResult spoiled = c.sane;
        c.spoil(spoiled);
        const ChartModel sane = ChartOf(Record(c.measurement, c.sane));
        const ChartModel chart = ChartOf(Record(c.measurement, spoiled));

        EXPECT_TRUE(std::isfinite(chart.x.min) && std::isfinite(chart.x.max));
        EXPECT_LE(chart.x.max, c.mostX);
        EXPECT_LE(chart.y.max - chart.y.min, 300);
        EXPECT_LE(chart.x.ticks.size(), 11u);
        EXPECT_LE(chart.y.ticks.size(), 11u);
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
