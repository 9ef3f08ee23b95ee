// The simulated analyzer's physics: traces, detectors, channel powers and emission masks.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "simulator/traces/TraceComputer.h"
#include "simulator/traces/TracePower.h"
#include "tests/simulator/SimulatorFixture.h"

namespace kelvane::testing {
namespace {

// A flat floor with a 10 kHz wide line at 40 kHz on top, in mW/Hz.
struct Density : PowerDensity {
    Density(double floorMw, double lineMw) : floor(floorMw), line(lineMw) {}
    double MwPerHz(double f) const override { return std::abs(f - 40e3) < 5e3 ? line : floor; }
    double floor, line;
};

// The highest point of a trace centered on 0 Hz, in mW.
double MaxMw(const Density& input, double spanHz, int points, double rbwHz, Detector detector) {
    Trace t;
    TraceComputer().Compute(input, {-spanHz / 2, spanHz / 2, points, rbwHz, detector, 1.0}, t);
    return t.powerMw[TracePower::PeakIndex(t)];
}

// A flat density reads density x 1.0645 x RBW with every detector; the positive peak detector
// catches a narrow line halfway between the points at 0 and 80 kHz that the sample one misses.
TEST(SimulatorTrace, NoiseBandwidthAndDetectors) {
    for (const auto& [rbwHz, points, detector] : {std::tuple{300e3, 1001, Detector::Sample},
                                                  {100e3, 101, Detector::PositivePeak},
                                                  {1e6, 21, Detector::Average},
                                                  {3e3, 401, Detector::Sample}})
        EXPECT_NEAR(MaxMw(Density(1e-9, 1e-9), 10e6, points, rbwHz, detector) / 1.0645e-9 / rbwHz,
                    1.0, 1e-9)
            << rbwHz;
    const Density line(1e-15, 1e-6);
    const double fine = MaxMw(line, 1e6, 1001, 10e3, Detector::Sample);
    EXPECT_NEAR(MaxMw(line, 80e6, 1001, 10e3, Detector::PositivePeak) / fine, 1.0, 0.25);
    EXPECT_LT(MaxMw(line, 80e6, 1001, 10e3, Detector::Sample), fine / 100);
}

// The W-CDMA carrier's 99 % bandwidth over seeds: averaged, within 4.166 MHz +/- 0.03 and
// steadier than a single sweep's; the same seed gives the same answer.
TEST(SimulatorPhysics, OccupiedBandwidthOfTheWcdmaCarrierAndAveraging) {
    const auto obw = [](std::uint32_t seed, bool averaged) {
        SimulatorFixture fixture({}, seed);
        fixture.RunToEnd(kObwSetup + (averaged ? "" : "; AGS; CONTS"), "OPR 256");
        const auto fields = Fields(fixture.Query("OBW?"));
        EXPECT_NEAR(std::stod(fields.at(0)), 2e9, 30e3) << seed;
        return std::stod(fields.at(1));
    };
    std::vector<double> averaged, single;
    for (std::uint32_t seed = 1; seed <= 12; ++seed) {
        averaged.push_back(obw(seed, true));
        single.push_back(obw(seed, false));
        EXPECT_NEAR(averaged.back(), 4.166e6, 0.03e6) << seed;
    }
    const auto spread = [](const std::vector<double>& v) {
        const auto [low, high] = std::minmax_element(v.begin(), v.end());
        return *high - *low;
    };
    EXPECT_LT(spread(averaged), spread(single) / 2) << spread(averaged) << " " << spread(single);
    EXPECT_EQ(obw(7, true), averaged[6]);
    EXPECT_NE(averaged[7], averaged[6]);
}

// At +/-10 MHz about 10 dB under the channels at +/-5 MHz, one sweep for all answers; 96 % of
// the W-CDMA carrier inside 3.84 MHz; away from the carriers only the analyzer's noise.
TEST(SimulatorPhysics, ChannelPowers) {
    SimulatorFixture fixture;
    fixture.RunToEnd(kAcpSetup, "OPR 256");
    fixture.Send("ACP?");
    const std::string carrier = fixture.Read();
    const auto near = Fields(fixture.Read()), far = Fields(fixture.Read());
    EXPECT_EQ(carrier, "0," + fixture.Query("ACPREF?"));
    ASSERT_EQ(near.size() + far.size(), 8u);
    for (int side : {1, 3}) EXPECT_NEAR(std::stod(near[side]) - std::stod(far[side]), 10.0, 2.0);
    fixture.RunToEnd(kChannelPowerSetup + "; RB 30KZ; VB 30KZ; CONTS", "OPR 16");
    const double channelDbm = fixture.QueryNumber("PWCH?");
    fixture.Send("PWTOTALON");  // the same sweep, integrated over the whole span
    const double totalDbm = fixture.QueryNumber("PWTOTAL?");
    EXPECT_NEAR(totalDbm - channelDbm, 0.18, 0.02);
    EXPECT_NEAR(totalDbm, -10.0, 0.05);
    fixture.Send("CF 3000000000HZ; SP 40MZ; RB 300KZ; VB 300KZ; TS");
    EXPECT_NEAR(fixture.QueryNumber("PWTOTAL?"), -150.0 + 10.0 * std::log10(40e6), 0.2);
}

// An 802.11 mask sits 2 dB over the peak that "ML?" reads in its sweep.
struct Mask {
    double centerHz;
    std::string sweep;
    std::vector<std::array<double, 4>> limits;  // start, stop offset in MHz; levels at them
};
const Mask kWcdma{
    2e9,
    "",
    {{2.515, 2.715, -14, -14}, {2.715, 3.515, -14, -26}, {3.515, 4, -26, -26}, {4, 8, -13, -13}}};
const Mask k11a{
    5.005e9,
    "CF 5005MZ; RB 100KZ; VB 30KZ; SW 500MS; SEMRFCALC PEAK",
    {{0, 9, 0, 0}, {9, 11, 0, -20}, {11, 20, -20, -28}, {20, 30, -28, -40}, {30, 39, -40, -40}}};
const Mask k11b{2.412e9,
                "CF 2412MZ; RB 100KZ; VB 100KZ; SW 1SC; SEMRPFCALC PEAK",
                {{0, 11, 0, 0}, {11, 22, -30, -30}, {22, 39, -50, -50}}};

// Records: segment (negative: lower side), start, stop, peak, dBm, dB, verdict.
TEST(SimulatorMask, RecordsPassWithAFewDbAndFailWhenRegrowthRises) {
    // Mask, power, regrowth raise, whether it passes, and for a pass the range of the smallest
    // margin outside the carrier's own band.
    const std::tuple<const Mask&, double, double, bool, double, double> cases[] = {
        {kWcdma, -10, 0, true, 40, 70}, {kWcdma, 43, 0, true, 1, 6},  {kWcdma, 43, 6, false, 0, 0},
        {k11a, -10, 0, true, 2, 8},     {k11a, -10, 10, false, 0, 0}, {k11b, -10, 0, true, 2, 8},
        {k11b, -10, 10, false, 0, 0}};
    for (const auto& [mask, powerDbm, raiseDb, passes, minMarginDb, maxMarginDb] : cases) {
        SCOPED_TRACE(::testing::Message()
                     << mask.centerHz << " Hz, " << powerDbm << " dBm +" << raiseDb);
        SimulatorFixture fixture({.signalPowerDbm = powerDbm, .regrowthRaiseDb = raiseDb});
        double base = 0;
        if (mask.sweep.empty()) {
            fixture.Send(kMask3gppSetup);
        } else {
            fixture.Send("SI; SP 80MZ; RL 0DB; DET POS; " + mask.sweep + "; TS; PS");
            base = fixture.QueryNumber("ML?") + 2;
            std::string rows = "SEMTDEL";
            for (const auto& l : mask.limits)
                rows += "; SEMTIN " + std::to_string(l[0]) + "MZ," + std::to_string(l[1]) +
                        "MZ,100KZ," + std::to_string(base + l[2]) + "DB," +
                        std::to_string(base + l[3]) + "DB,0DB,0DB,ABS";
            fixture.Send(rows + "; SEMCBW 16.6MZ; SEMNQST OFF; PMEASAVG OFF; SEMON; TS");
        }
        const int segments = static_cast<int>(mask.limits.size());
        fixture.Send("SEM?");
        double smallest = 1e9, reference = 0;
        bool anyFail = false;
        for (int i = 0; i < 2 * segments; ++i) {
            const auto f = Fields(fixture.Read());
            ASSERT_EQ(f.size(), 7u);
            const int segment = std::stoi(f[0]);
            const double start = std::stod(f[1]), stop = std::stod(f[2]), peak = std::stod(f[3]);
            const double dbm = std::stod(f[4]), db = std::stod(f[5]);
            // The lower side from the outermost segment in, then the upper side outwards.
            EXPECT_EQ(segment, i < segments ? i - segments : i - segments + 1);
            const auto& l = mask.limits.at(static_cast<std::size_t>(std::abs(segment) - 1));
            EXPECT_NEAR(start, mask.centerHz + (segment > 0 ? l[0] : -l[1]) * 1e6, 1);
            EXPECT_NEAR(stop - start, (l[1] - l[0]) * 1e6, 1);
            EXPECT_TRUE(start <= peak && peak <= stop) << peak;
            if (i == 0) reference = dbm - db;
            EXPECT_NEAR(dbm - db, reference, 0.011);  // one reference for all
            // The margin is the peak's; the verdict covers the whole segment.
            const double t =
                std::clamp((std::abs(peak - mask.centerHz) / 1e6 - l[0]) / (l[1] - l[0]), 0.0, 1.0);
            const double margin = base + l[2] + t * (l[3] - l[2]) - dbm;
            EXPECT_TRUE(margin >= 0 || f[6] == "FAIL") << segment;
            anyFail = anyFail || f[6] == "FAIL";
            if (mask.sweep.empty() || std::abs(segment) > 1) smallest = std::min(smallest, margin);
        }
        EXPECT_EQ(fixture.EventStatus(), 0);
        EXPECT_EQ(anyFail, !passes);
        EXPECT_TRUE(!passes || (smallest >= minMarginDb && smallest <= maxMarginDb)) << smallest;
    }
}

}  // namespace
}  // namespace kelvane::testing
