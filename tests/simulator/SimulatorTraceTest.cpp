#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "simulator/TraceComputer.h"
#include "simulator/TraceNoise.h"
#include "simulator/TracePower.h"

namespace kelvane::testing {
namespace {

// A rectangular band of constant density, optionally with a narrow line on top.
class Band : public SpectralDensity {
public:
    Band(double lowHz, double highHz, double mwPerHz) : low_(lowHz), high_(highHz), d_(mwPerHz) {}
    void AddLine(double centerHz, double widthHz, double mwPerHz) {
        lineLow_ = centerHz - widthHz / 2;
        lineHigh_ = centerHz + widthHz / 2;
        line_ = mwPerHz;
    }
    double MwPerHz(double f) const override {
        return (f >= low_ && f < high_ ? d_ : 0.0) + (f >= lineLow_ && f < lineHigh_ ? line_ : 0.0);
    }

private:
    double low_, high_, d_;
    double lineLow_ = 0, lineHigh_ = 0, line_ = 0;
};

constexpr double kDensity = 1e-9;  // mW/Hz

TEST(SimulatorTrace, FlatDensityReadsDensityTimesNoiseBandwidth) {
    struct Case {
        double rbwHz;
        int points;
        Detector detector;
    };
    const Case cases[] = {{30e3, 1001, Detector::Average},       {300e3, 1001, Detector::Sample},
                          {100e3, 1001, Detector::PositivePeak}, {1e6, 21, Detector::Average},
                          {30e3, 101, Detector::PositivePeak},   {3e3, 401, Detector::Sample}};
    const Band band(-1e9, 1e9, kDensity);
    TraceComputer computer;
    for (const auto& c : cases) {
        Trace trace;
        computer.Compute(band, {-5e6, 5e6, c.points, c.rbwHz, c.detector, 1.0}, trace);
        ASSERT_EQ(trace.powerMw.size(), static_cast<std::size_t>(c.points));
        for (double p : trace.powerMw)
            ASSERT_NEAR(p / (kDensity * 1.0645 * c.rbwHz), 1.0, 1e-9) << c.rbwHz << " " << c.points;
    }
}

TEST(SimulatorTrace, PowersOfARectangularBand) {
    const Band band(-2e6, 2e6, kDensity);  // 4 MHz wide: -30 dBm... in mW: 4e-3
    TraceComputer computer;
    Trace trace;
    computer.Compute(band, {-10e6, 10e6, 1001, 30e3, Detector::Average, 1.0}, trace);
    struct Case {
        double centerHz;
        double widthHz;
        double expectedMw;
    };
    const Case cases[] = {
        {0, 3.84e6, kDensity * 3.84e6},  // wholly inside, edges inside bins
        {0, 20e6, kDensity * 4e6},       // the whole band
        {2e6, 1e6, kDensity * 0.5e6},    // straddling the upper edge
        {5e6, 3.84e6, 0.0},              // outside
    };
    for (const auto& c : cases)
        EXPECT_NEAR(TracePower::ChannelMw(trace, c.centerHz, c.widthHz), c.expectedMw, 2e-3 * 4e-3)
            << c.centerHz << " " << c.widthHz;
    EXPECT_NEAR(TracePower::TotalMw(trace), kDensity * 4e6, 1e-3 * 4e-3);

    const auto obw = TracePower::OccupiedBandwidth(trace, 99.0);
    EXPECT_NEAR(obw.bandwidthHz, 0.99 * 4e6, 20e3);  // within a bin
    EXPECT_NEAR(obw.centerHz, 0.0, 5e3);             // the band's edges fall on grid samples
    EXPECT_NEAR(TracePower::Dbm(1.0), 0.0, 1e-12);
    EXPECT_TRUE(std::isfinite(TracePower::Dbm(0.0)));
}

TEST(SimulatorTrace, PositivePeakCatchesANarrowLineBetweenPoints) {
    Band band(-1e9, 1e9, 1e-15);
    band.AddLine(40e3, 10e3, 1e-6);  // halfway between the points at 0 and 80 kHz
    TraceComputer computer;
    Trace fine;
    Trace peak;
    Trace sample;
    computer.Compute(band, {-0.5e6, 0.5e6, 1001, 10e3, Detector::Sample, 1.0}, fine);
    computer.Compute(band, {-40e6, 40e6, 1001, 10e3, Detector::PositivePeak, 1.0}, peak);
    computer.Compute(band, {-40e6, 40e6, 1001, 10e3, Detector::Sample, 1.0}, sample);
    const auto maxDbm = [](const Trace& t) {
        return TracePower::Dbm(t.powerMw[TracePower::PeakIndex(t)]);
    };
    EXPECT_NEAR(maxDbm(peak), maxDbm(fine), 1.0);
    EXPECT_LT(maxDbm(sample), maxDbm(fine) - 20.0);
}

TEST(SimulatorTrace, AveragingNarrowsTheSweepNoiseWithoutBias) {
    for (int sweeps : {1, 4, 16, 100}) {
        std::vector<double> trace(200000, 1.0);
        TraceNoise::Apply(trace, 0.5, sweeps,
                          TraceNoise::Key(7, static_cast<std::uint64_t>(sweeps)));
        double mean = 0, sumDb = 0, sumDb2 = 0;
        for (double p : trace) {
            mean += p;
            const double db = 10 * std::log10(p);
            sumDb += db;
            sumDb2 += db * db;
        }
        const double n = static_cast<double>(trace.size());
        const double spreadDb = std::sqrt(sumDb2 / n - (sumDb / n) * (sumDb / n));
        EXPECT_NEAR(mean / n, 1.0, 1e-3) << sweeps;
        EXPECT_NEAR(spreadDb, 0.5 / std::sqrt(sweeps), 0.02 / std::sqrt(sweeps)) << sweeps;
    }
    std::vector<double> a(100, 1.0), b(100, 1.0), c(100, 1.0);
    TraceNoise::Apply(a, 0.5, 1, 42);
    TraceNoise::Apply(b, 0.5, 1, 42);
    TraceNoise::Apply(c, 0.5, 1, 43);
    EXPECT_EQ(a, b);
    EXPECT_NE(a, c);
}

}  // namespace
}  // namespace kelvane::testing
