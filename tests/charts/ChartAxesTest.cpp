#include <cmath>
#include <limits>
#include <vector>

#include <gtest/gtest.h>

#include "charts/ChartAxes.h"
#include "tests/charts/ChartChecks.h"

namespace kelvane::testing {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();

TEST(ChartAxes, OffsetAxisIsSymmetricWithRoomAndRoundSteps) {
    struct Case {
        std::vector<double> offsetsMhz;
        double half;  // the axis runs from -half to +half
        double step;
        double mostHalf = kMostOffsetMhz;  // half the span swept
    };
    const Case cases[] = {
        {{2.515, -8.0, 4.0}, 10, 2},    // the W-CDMA mask
        {{-39, 0, 39}, 40, 10},         // the WLAN masks
        {{-11.92, 11.92}, 15, 5},       // ACP's outer channels
        {{-2.5, 2.08}, 3, 1},           // OBW
        {{0.5}, 0.6, 0.2},              // below 1 MHz
        {{9.7}, 10, 2},                 // 2.5 % room still inside the last tick
        {{9.8}, 15, 5},                 // beyond it, and 2 MHz steps would need 12 intervals
        {{39.5}, 50, 10},               // 40.49 with its room
        {{}, 1, 0.2},                   // nothing to hold
        {{kNaN, -3, kInfinity}, 4, 1},  // only the finite offsets count
        // Never beyond half the span swept, nor beyond 1000 MHz at all.
        {{-8, 12}, 10, 2, 10},      // a row beyond the W-CDMA mask's 20 MHz span
        {{39, 1e300}, 40, 10, 40},  // a WLAN row at 1e300 MHz
        {{-1e100}, 1000, 200},      // without a span
        {{39.9}, 40, 10, 40},       // the room is cut, not rounded up to 50
        {{2}, 2.5, 0.5, 10},        // well inside the span: as without it
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.offsetsMhz));
        const ChartAxis axis = SymmetricOffsetAxis("Offset (MHz)", c.offsetsMhz, c.mostHalf);
        EXPECT_EQ(axis.title, "Offset (MHz)");
        EXPECT_NEAR(axis.min, -c.half, 1e-12);
        EXPECT_NEAR(axis.max, c.half, 1e-12);
        ExpectEvenTicks(axis);
        ASSERT_EQ(axis.ticks.size(),
                  static_cast<std::size_t>(std::lround(2 * c.half / c.step)) + 1);
        EXPECT_NEAR(axis.ticks[1] - axis.ticks[0], c.step, 1e-12);
    }
}

TEST(ChartAxes, LevelAxisEndsOnTicksWithRoomForLabels) {
    struct Case {
        std::vector<double> limits, values;
        double min, max, step;
    };
    const Case cases[] = {
        {{-13, -26, -14}, {-80.93}, -90, 0, 10},          // a W-CDMA mask run
        {{-45, -50}, {0, -54.77, -64.29}, -70, 10, 10},   // ACP: 3.2 dB room above the carrier
        {{-20}, {-30}, -40, -10, 10},                     // 3 dB at least
        {{}, {-150, 0}, -160, 20, 20},                    // 10 dB steps would need 17
        {{}, {-500, 0}, -600, 100, 100},                  // 20 and 50 dB steps too many
        {{}, {}, -10, 10, 10},                            // nothing to hold
        {{kNaN}, {kNaN, -20, -kInfinity}, -30, -10, 10},  // only finite levels count
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.limits) + ::testing::PrintToString(c.values));
        const ChartAxis axis = LevelAxis("Level (dBm)", c.limits, c.values);
        EXPECT_EQ(axis.title, "Level (dBm)");
        EXPECT_DOUBLE_EQ(axis.min, c.min);
        EXPECT_DOUBLE_EQ(axis.max, c.max);
        ExpectEvenTicks(axis);
        EXPECT_DOUBLE_EQ(axis.ticks[1] - axis.ticks[0], c.step);
        EXPECT_LE(axis.ticks.size(), 11u);
    }
}

// A value far from the limits does not widen the axis: the limit lines keep their shape and the
// value stands at the axis' end (off-scale). Within 100 dB of the limits it still counts.
TEST(ChartAxes, LevelAxisKeepsToTheLimits) {
    const std::vector<double> mask{-13, -26, -14};
    const ChartAxis plain = LevelAxis("Level (dBm)", mask, {-78.49});
    struct Case {
        std::vector<double> limits, values;
        double min, max;
    };
    const Case cases[] = {
        {mask, {-78.49, 1e300, -1e300, 1e100, -1e100, kInfinity}, plain.min, plain.max},
        {mask, {-78.49, 87}, -100, 100},             // 100 dB over the highest limit: held
        {mask, {-78.49, 88}, plain.min, plain.max},  // 101 dB over: not
        {mask, {-126}, -140, 0},                     // 100 dB under the lowest limit
        {{1e300, -13}, {-20}, -30, -10},             // an absurd limit counts neither
        {{1e300}, {-20, 600}, -30, -10},  // nor does a value beyond 500 dBm without limits
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.limits) + ::testing::PrintToString(c.values));
        const ChartAxis axis = LevelAxis("Level (dBm)", c.limits, c.values);
        EXPECT_DOUBLE_EQ(axis.min, c.min);
        EXPECT_DOUBLE_EQ(axis.max, c.max);
        ExpectEvenTicks(axis);
        EXPECT_LE(axis.ticks.size(), 11u);
    }
}

// A label "-0" beside the top of the plot would look like a fault.
TEST(ChartAxes, ZeroIsNeverNegative) {
    const ChartAxis axis = LevelAxis("Level (dBm)", {}, {-10});
    EXPECT_EQ(axis.max, 0);
    EXPECT_FALSE(std::signbit(axis.max));
    EXPECT_FALSE(std::signbit(axis.ticks.back()));
}

}  // namespace
}  // namespace kelvane::testing
