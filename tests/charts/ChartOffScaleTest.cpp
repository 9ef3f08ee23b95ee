// Fitting a chart into its axes: whatever the values, every element ends up inside them, and
// what had to move says so (off-scale, open ends), so that the painter can mark it.
#include <cmath>
#include <limits>
#include <vector>

#include <gtest/gtest.h>

#include "charts/ChartOffScale.h"

namespace kelvane::testing {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kHuge = 1e300;

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

    ASSERT_EQ(model.bars.size(), 3u);
    EXPECT_EQ(model.bars[0].top, 0);
    EXPECT_EQ(model.bars[0].offScale, 1);
    EXPECT_EQ(model.bars[1].top, -80);
    EXPECT_EQ(model.bars[1].offScale, -1);
    EXPECT_EQ(model.bars[2].x, 8.5);
    EXPECT_EQ(model.bars[2].width, 3);
    EXPECT_EQ(model.bars[2].offScale, 0);

    struct Cut {
        double x1, x2, y;
        bool openLeft, openRight;
    };
    const Cut spans[] = {{-10, 5, -70, true, false},   // from far left
                         {10, 10, -70, false, true},   // wholly right: shrunk to the end
                         {-5, 5, -80, false, false}};  // ends in order, held in y
    ASSERT_EQ(model.spans.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(model.spans[i].x1, spans[i].x1);
        EXPECT_EQ(model.spans[i].x2, spans[i].x2);
        EXPECT_EQ(model.spans[i].y, spans[i].y);
        EXPECT_EQ(model.spans[i].openLeft, spans[i].openLeft);
        EXPECT_EQ(model.spans[i].openRight, spans[i].openRight);
    }
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

}  // namespace
}  // namespace kelvane::testing
