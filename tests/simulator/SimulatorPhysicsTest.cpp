#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/simulator/SimulatorFixture.h"

namespace kelvane::testing {
namespace {

constexpr int kEndBits = 0xA0;

// Runs an averaging set-up to its end, as the measurement-end wait does.
void RunToEnd(SimulatorFixture& bench, const std::vector<std::string>& setup, const char* opr) {
    bench.SendAll(setup);
    bench.SendAll({"*CLS", opr, "*SRE 160"});
    bench.WaitForStatus(kEndBits);
}

TEST(SimulatorPhysics, OccupiedBandwidthOfTheWcdmaCarrier) {
    for (std::uint32_t seed : {1u, 2u, 3u, 4u, 5u}) {
        SimulatorFixture bench({}, seed);
        RunToEnd(bench, ObwSetup(), "OPR 256");
        const auto fields = Fields(bench.Query("OBW?"));
        ASSERT_EQ(fields.size(), 2u);
        EXPECT_NEAR(std::stod(fields[1]), 4.166e6, 0.03e6) << seed;
        EXPECT_NEAR(std::stod(fields[0]), 2e9, 30e3) << seed;
    }
}

TEST(SimulatorPhysics, ChannelHoldsAllButFourPercentOfTheCarrier) {
    SimulatorFixture bench;
    RunToEnd(bench,
             {"SI", "SP 10e6HZ", "CF 2000000000HZ", "RB 30e3HZ; VB 30e3HZ", "DETAA ON",
              "WDX 3840000HZ", "PWCHON", "PWCHTM 10", "PMEASAVG ON", "CONTS"},
             "OPR 16");
    const double channelDbm = bench.QueryNumber("PWCH?");
    bench.Send("PWTOTALON");  // the same sweep, integrated over the whole span
    const double totalDbm = bench.QueryNumber("PWTOTAL?");
    EXPECT_NEAR(totalDbm - channelDbm, 0.18, 0.02);
    EXPECT_NEAR(totalDbm, -10.0, 0.05);

    SimulatorFixture measured;  // the channel power measurement's own set-up, RBW 300 kHz
    RunToEnd(measured, ChannelPowerSetup(), "OPR 16");
    EXPECT_NEAR(measured.QueryNumber("PWCH?"), -10.21, 0.05);
}

TEST(SimulatorPhysics, AdjacentChannelsOfTheWcdmaCarrier) {
    SimulatorFixture bench;
    RunToEnd(bench, AcpSetup(), "OPR 256");
    bench.Send("ACP?");
    const auto answers = bench.ReadAll(3);
    bench.Send("MO");
    const double carrierDbm = bench.QueryNumber("ACPREF?");
    EXPECT_NEAR(carrierDbm, -10.18, 0.05);
    EXPECT_EQ(answers[0], "0," + bench.Query("ACPREF?"));  // the same sweep

    const auto near = Fields(answers[1]);
    const auto far = Fields(answers[2]);
    ASSERT_EQ(near.size(), 4u);
    ASSERT_EQ(far.size(), 4u);
    EXPECT_EQ(near[0], "-5000000");
    EXPECT_EQ(near[2], "5000000");
    EXPECT_EQ(far[0], "-10000000");
    EXPECT_EQ(far[2], "10000000");
    for (int side : {1, 3}) {
        const double nearDb = std::stod(near[side]);
        const double farDb = std::stod(far[side]);
        EXPECT_GT(nearDb, -60.0);
        EXPECT_LT(nearDb, -50.0);
        EXPECT_NEAR(nearDb - farDb, 10.0, 2.0);
    }
}

TEST(SimulatorPhysics, AveragingSteadiesTheResults) {
    // Spread over seeds of the far adjacent channel, with and without averaging.
    const auto spread = [](bool averaged) {
        std::vector<double> values;
        for (std::uint32_t seed = 1; seed <= 12; ++seed) {
            SimulatorFixture bench({}, seed);
            if (averaged) {
                RunToEnd(bench, AcpSetup(), "OPR 256");
            } else {
                auto setup = AcpSetup();
                std::erase_if(setup, [](const auto& c) { return c.rfind("AG", 0) == 0; });
                bench.SendAll(setup);
                bench.clock.Advance(std::chrono::seconds(1));
            }
            bench.Send("ACP?");
            values.push_back(std::stod(Fields(bench.ReadAll(3)[2])[1]));
        }
        const auto [low, high] = std::minmax_element(values.begin(), values.end());
        return *high - *low;
    };
    EXPECT_LT(spread(true), spread(false) / 2.0);
}

TEST(SimulatorPhysics, PeakDetectorReadsNoiseLikeSignalsHigherThanAverage) {
    const auto peakLevel = [](const char* detector) {
        SimulatorFixture bench;
        bench.SendAll({"SI", "CF 5005000000HZ", "SP 80MZ", "RB 100KZ; VB 30KZ; SW 500MS", detector,
                       "TS", "PS"});
        return bench.QueryNumber("ML?");
    };
    const double difference = peakLevel("DET POS") - peakLevel("DETAA ON");
    EXPECT_GT(difference, 3.0);
    EXPECT_LT(difference, 8.0);
}

TEST(SimulatorPhysics, OnlyNoiseAwayFromTheCarriers) {
    SimulatorFixture bench;
    bench.SendAll(
        {"SI", "CF 3000000000HZ", "SP 40MZ", "RB 300KZ; VB 300KZ", "DETAA ON", "PWTOTALON", "TS"});
    EXPECT_NEAR(bench.QueryNumber("PWTOTAL?"), -150.0 + 10.0 * std::log10(40e6), 0.2);
}

TEST(SimulatorPhysics, SameSeedSameResults) {
    const auto obw = [](std::uint32_t seed) {
        SimulatorFixture bench({}, seed);
        RunToEnd(bench, ObwSetup(), "OPR 256");
        return bench.Query("OBW?");
    };
    EXPECT_EQ(obw(7), obw(7));
    EXPECT_NE(obw(7), obw(8));
}

}  // namespace
}  // namespace kelvane::testing
