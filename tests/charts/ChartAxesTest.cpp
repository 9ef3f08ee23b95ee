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
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.offsetsMhz));
        const ChartAxis axis = SymmetricOffsetAxis("Offset (MHz)", c.offsetsMhz);
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
        std::vector<double> levels;
        double min, max, step;
    };
    const Case cases[] = {
        {{-80.93, -13, -26, -14}, -90, 0, 10},         // a W-CDMA mask run
        {{0, -45, -50, -54.77, -64.29}, -70, 10, 10},  // ACP: 3.2 dB room above the carrier
        {{-20, -30}, -40, -10, 10},                    // 3 dB at least
        {{-150, 0}, -160, 20, 20},                     // 10 dB steps would need 17
        {{-1000, 0}, -1200, 200, 200},                 // 20, 50 and 100 dB too many
        {{}, -10, 10, 10},                             // nothing to hold
        {{kNaN, -20, -kInfinity}, -30, -10, 10},       // only finite levels count
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.levels));
        const ChartAxis axis = LevelAxis("Level (dBm)", c.levels);
        EXPECT_EQ(axis.title, "Level (dBm)");
        EXPECT_DOUBLE_EQ(axis.min, c.min);
        EXPECT_DOUBLE_EQ(axis.max, c.max);
        ExpectEvenTicks(axis);
        EXPECT_DOUBLE_EQ(axis.ticks[1] - axis.ticks[0], c.step);
        EXPECT_LE(axis.ticks.size(), 11u);
    }
}

// A label "-0" beside the top of the plot would look like a fault.
TEST(ChartAxes, ZeroIsNeverNegative) {
    const ChartAxis axis = LevelAxis("Level (dBm)", {-10});
    EXPECT_EQ(axis.max, 0);
    EXPECT_FALSE(std::signbit(axis.max));
    EXPECT_FALSE(std::signbit(axis.ticks.back()));
}

}  // namespace
}  // namespace kelvane::testing
