#include <chrono>
#include <string>

#include <gtest/gtest.h>

#include "bus/GpibCodes.h"
#include "tests/simulator/SimulatorFixture.h"

namespace kelvane::testing {
namespace {

using std::chrono::milliseconds;
using std::chrono::nanoseconds;
using std::chrono::seconds;

constexpr int kOperationEnd = 0x80;
constexpr int kEventSummary = 0x20;
constexpr int kRequestService = 0x40;

// ACP averages 10 sweeps of 2.5 x 25 MHz / (30 kHz)^2 each.
const nanoseconds kAcpAveraging = 10 * nanoseconds(static_cast<long long>(2.5 * 25e6 / 9e8 * 1e9));

TEST(SimulatorStatus, OperationEndBitFollowsTheSelectedEvent) {
    struct Case {
        const char* name;
        const std::vector<std::string>& setup;
        const char* opr;
        bool ends;
        nanoseconds earliest;
    };
    const Case cases[] = {
        {"sweep averaging, OPR 256", AcpSetup(), "OPR 256", true, kAcpAveraging},
        {"sweep averaging, OPR 16", AcpSetup(), "OPR 16", false, {}},
        {"channel power averaging, OPR 16", ChannelPowerSetup(), "OPR 16", true, milliseconds(50)},
        {"channel power averaging, OPR 256", ChannelPowerSetup(), "OPR 256", false, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SimulatorFixture bench;
        bench.SendAll(c.setup);
        bench.SendAll({"*CLS", c.opr, "*SRE 160"});
        const nanoseconds waited = bench.WaitForStatus(kOperationEnd | kEventSummary);
        if (c.ends) {
            EXPECT_GE(waited, c.earliest);
            EXPECT_LT(waited, c.earliest + milliseconds(10));
            EXPECT_EQ(bench.StatusByte(), kOperationEnd | kRequestService);
        } else {
            EXPECT_GT(waited, seconds(10));
            EXPECT_EQ(bench.StatusByte(), 0);
        }
    }
}

TEST(SimulatorStatus, ClearForgetsEndsThatHappenedButNotThoseToCome) {
    SimulatorFixture bench;
    bench.SendAll(AcpSetup());
    bench.Send("OPR 256");
    bench.clock.Advance(kAcpAveraging);
    EXPECT_EQ(bench.StatusByte(), kOperationEnd);
    bench.Send("*CLS");
    EXPECT_EQ(bench.StatusByte(), 0);

    bench.Send("CONTS");  // a new averaging run
    bench.Send("*CLS");
    bench.clock.Advance(kAcpAveraging - milliseconds(1));
    EXPECT_EQ(bench.StatusByte(), 0);
    bench.clock.Advance(milliseconds(1));
    EXPECT_EQ(bench.StatusByte(), kOperationEnd);
}

TEST(SimulatorStatus, ErrorsRaiseTheSummaryBitUntilTheRegisterIsRead) {
    SimulatorFixture bench;
    bench.SendAll({"*CLS", "*SRE 160", "NONSENSE"});
    EXPECT_EQ(bench.StatusByte(), kEventSummary | kRequestService);
    EXPECT_EQ(bench.EventStatus(), 0x20);
    EXPECT_EQ(bench.StatusByte(), 0);
    bench.SendAll({"*ESE 0", "NONSENSE"});
    EXPECT_EQ(bench.StatusByte(), 0);
    EXPECT_EQ(bench.Query("*ESE?"), "0");
    EXPECT_EQ(bench.Query("*SRE?"), "160");
}

TEST(SimulatorStatus, QueryAfterSingleSweepAnswersWhenTheSweepIsDone) {
    SimulatorFixture bench;
    bench.SendAll({"SI", "SP 40MZ", "CF 2412000000HZ", "RB 300KZ; VB 300KZ", "SW 1SC", "DETAA ON",
                   "PWTOTALON", "TS", "PWTOTAL?"});
    const auto start = bench.clock.Now();
    const std::string reply = bench.Read(50);
    EXPECT_EQ(bench.clock.Now() - start, seconds(1));
    EXPECT_EQ(bench.status, kStatusCmpl | kStatusEnd);
    EXPECT_NEAR(std::stod(reply), -10.0, 0.2);
}

TEST(SimulatorStatus, SweepLongerThanTheTimeOutTimesTheReadOut) {
    SimulatorFixture bench;
    bench.device = bench.analyzer.ibdev(0, 8, 0, 10, 1, 0);  // 300 ms
    bench.SendAll({"SI", "CF 2412000000HZ", "SP 40MZ", "SW 1SC", "PWTOTALON", "TS", "PWTOTAL?"});
    for (int read = 0; read < 3; ++read) {
        EXPECT_EQ(bench.Read(50), "");
        EXPECT_EQ(bench.status, kStatusErr | kStatusTimo);
        EXPECT_EQ(bench.error, kErrorEabo);
    }
    EXPECT_EQ(bench.clock.Now(), milliseconds(900));
    EXPECT_FALSE(bench.Read(50).empty());  // the sweep ends within this read's time-out
    EXPECT_EQ(bench.clock.Now(), seconds(1));
}

TEST(SimulatorStatus, CommandsBehindASingleSweepWaitForIt) {
    SimulatorFixture bench;
    bench.SendAll({"SI", "CF 5005000000HZ", "SP 80MZ", "RB 100KZ; VB 30KZ; SW 500MS", "DET POS",
                   "TS", "PS", "ML?"});
    const double level = std::stod(bench.Read(50));
    EXPECT_EQ(bench.clock.Now(), milliseconds(500));
    EXPECT_GT(level, -30.0);  // the peak of the 802.11a signal, not the noise
    EXPECT_NEAR(bench.analyzer.State().markerHz, 5.005e9, 8.3e6);
}

}  // namespace
}  // namespace kelvane::testing
