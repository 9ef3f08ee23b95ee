#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/simulator/SimulatorFixture.h"

namespace kelvane::testing {
namespace {

enum class Signal { Wcdma, Ofdm11a, Dsss11b };

struct Limit {
    double startOffsetHz, stopOffsetHz, startDbm, stopDbm;
};

struct Record {
    int segment;  // negative: lower side
    double startHz, stopHz, peakHz, absoluteDbm, relativeDb;
    std::string verdict;
};

// Runs the mask measurement's commands; the records and the mask that was loaded.
std::vector<Record> RunMask(SimulatorFixture& bench, Signal signal, std::vector<Limit>& limits,
                            double& centerHz) {
    int reads = 8;
    if (signal == Signal::Wcdma) {
        centerHz = 2e9;
        bench.SendAll(Mask3gppSetup());
        limits = {{2.515e6, 2.715e6, -14, -14},
                  {2.715e6, 3.515e6, -14, -26},
                  {3.515e6, 4e6, -26, -26},
                  {4e6, 8e6, -13, -13}};
    } else {
        const bool is11a = signal == Signal::Ofdm11a;
        centerHz = is11a ? 5.005e9 : 2.412e9;
        bench.SendAll({"SI", is11a ? "CF 5005000000HZ" : "CF 2412000000HZ", "SP 80MZ", "RL 0DB",
                       is11a ? "RB 100KZ; VB 30KZ; SW 500MS" : "RB 100KZ; VB 100KZ; SW 1SC",
                       "DET POS", "TS", "PS"});
        const double peak = bench.QueryNumber("ML?");
        bench.SendAll(WlanMaskSetup(is11a, peak));
        const double l0 = peak + 2;
        if (is11a) {
            reads = 10;
            limits = {{0, 9e6, l0, l0},
                      {9e6, 11e6, l0, l0 - 20},
                      {11e6, 20e6, l0 - 20, l0 - 28},
                      {20e6, 30e6, l0 - 28, l0 - 40},
                      {30e6, 39e6, l0 - 40, l0 - 40}};
        } else {
            reads = 6;
            limits = {
                {0, 11e6, l0, l0}, {11e6, 22e6, l0 - 30, l0 - 30}, {22e6, 39e6, l0 - 50, l0 - 50}};
        }
    }
    bench.Send("SEM?");
    std::vector<Record> records;
    for (const auto& reply : bench.ReadAll(reads)) {
        const auto f = Fields(reply);
        EXPECT_EQ(f.size(), 7u) << reply;
        if (f.size() != 7) continue;
        records.push_back({std::stoi(f[0]), std::stod(f[1]), std::stod(f[2]), std::stod(f[3]),
                           std::stod(f[4]), std::stod(f[5]), f[6]});
    }
    return records;
}

// How far the segment's peak stays under the limit line at its frequency.
double MarginDb(const Record& r, const std::vector<Limit>& limits, double centerHz) {
    const Limit& limit = limits.at(static_cast<std::size_t>(std::abs(r.segment) - 1));
    const double offset = std::abs(r.peakHz - centerHz);
    const double t = std::clamp(
        (offset - limit.startOffsetHz) / (limit.stopOffsetHz - limit.startOffsetHz), 0.0, 1.0);
    return limit.startDbm + t * (limit.stopDbm - limit.startDbm) - r.absoluteDbm;
}

TEST(SimulatorMask, RecordsPassWithAFewDbAndFailWhenRegrowthRises) {
    struct Case {
        const char* name;
        Signal signal;
        double powerDbm;
        double regrowthRaiseDb;
        bool passes;
        double minMarginDb;  // smallest margin of a passing mask, outside the carrier's own band
        double maxMarginDb;
    };
    const Case cases[] = {
        {"W-CDMA", Signal::Wcdma, -10, 0, true, 40, 70},
        {"W-CDMA at 43 dBm", Signal::Wcdma, 43, 0, true, 1, 6},
        {"W-CDMA at 43 dBm, regrowth +6 dB", Signal::Wcdma, 43, 6, false, 0, 0},
        {"802.11a", Signal::Ofdm11a, -10, 0, true, 2, 8},
        {"802.11a, regrowth +10 dB", Signal::Ofdm11a, -10, 10, false, 0, 0},
        {"802.11b", Signal::Dsss11b, -10, 0, true, 2, 8},
        {"802.11b, regrowth +10 dB", Signal::Dsss11b, -10, 10, false, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SimulatorOptions options;
        options.signalPowerDbm = c.powerDbm;
        options.regrowthRaiseDb = c.regrowthRaiseDb;
        SimulatorFixture bench(options);
        std::vector<Limit> limits;
        double centerHz = 0;
        const auto records = RunMask(bench, c.signal, limits, centerHz);
        ASSERT_EQ(records.size(), 2 * limits.size());
        EXPECT_EQ(bench.EventStatus(), 0);

        double smallest = 1e9;
        bool anyFail = false;
        for (const auto& r : records) {
            const double margin = MarginDb(r, limits, centerHz);
            // The verdict covers the whole segment, the margin only its peak.
            if (margin < 0) {
                EXPECT_EQ(r.verdict, "FAIL") << r.segment;
            }
            anyFail = anyFail || r.verdict == "FAIL";
            if (c.signal == Signal::Wcdma || std::abs(r.segment) > 1)
                smallest = std::min(smallest, margin);
        }
        EXPECT_EQ(anyFail, !c.passes);
        if (c.passes) {
            EXPECT_GE(smallest, c.minMarginDb);
            EXPECT_LE(smallest, c.maxMarginDb);
        }
    }
}

TEST(SimulatorMask, RecordsRunUpInFrequencyWithTheirPeaksInside) {
    for (Signal signal : {Signal::Wcdma, Signal::Ofdm11a, Signal::Dsss11b}) {
        SimulatorFixture bench;
        std::vector<Limit> limits;
        double centerHz = 0;
        const auto records = RunMask(bench, signal, limits, centerHz);
        const int segments = static_cast<int>(limits.size());
        ASSERT_EQ(records.size(), 2u * limits.size());
        for (int i = 0; i < 2 * segments; ++i) {
            const Record& r = records[static_cast<std::size_t>(i)];
            const int expected = i < segments ? -(segments - i) : i - segments + 1;
            EXPECT_EQ(r.segment, expected);
            const Limit& limit = limits[static_cast<std::size_t>(std::abs(expected) - 1)];
            const double near =
                r.segment > 0 ? centerHz + limit.startOffsetHz : centerHz - limit.stopOffsetHz;
            EXPECT_EQ(r.startHz, near);
            EXPECT_EQ(r.stopHz - r.startHz, limit.stopOffsetHz - limit.startOffsetHz);
            EXPECT_GE(r.peakHz, r.startHz);
            EXPECT_LE(r.peakHz, r.stopHz);
            if (i > 0) {
                EXPECT_GE(r.startHz, records[static_cast<std::size_t>(i) - 1].startHz);
            }
            // One reference for all rows.
            EXPECT_NEAR(r.absoluteDbm - r.relativeDb,
                        records[0].absoluteDbm - records[0].relativeDb, 0.011);
        }
    }
}

}  // namespace
}  // namespace kelvane::testing
