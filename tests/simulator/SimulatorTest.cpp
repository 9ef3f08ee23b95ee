// The simulated analyzer on its own: its bus behaviour, status model, commands and physics.
#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "bus/GpibCodes.h"
#include "bus/VirtualClock.h"
#include "simulator/SimulatedAnalyzer.h"
#include "simulator/TraceComputer.h"
#include "simulator/TracePower.h"

namespace kelvane::testing {
namespace {

using namespace std::chrono_literals;
using std::chrono::nanoseconds;

// The analyzer driven through the driver entries with a virtual clock.
class SimulatorFixture {
public:
    explicit SimulatorFixture(SimulatorOptions options = {}, std::uint32_t seed = 1)
        : analyzer(clock, seed, options) {
        analyzer.RegisterGpibGlobalsForThread(&status, &error, &count, &countLong);
        device = analyzer.ibdev(0, 8, 0, 13, 1, 0);
    }

    SimulatorFixture& Send(const std::string& text) {
        analyzer.ibwrt(device, text.data(), static_cast<std::int32_t>(text.size()));
        return *this;
    }
    // One read of at most maxBytes; the bytes that arrived.
    std::string Read(std::int32_t maxBytes = 200) {
        std::string buffer(static_cast<std::size_t>(maxBytes), '\0');
        analyzer.ibrd(device, buffer.data(), maxBytes);
        return buffer.substr(0, static_cast<std::size_t>(count));
    }
    std::string Query(const std::string& text) { return Send(text).Read(); }
    double QueryNumber(const std::string& text) { return std::stod(Query(text)); }
    int StatusByte() { return std::stoi(Query("*STB?")); }
    int EventStatus() { return std::stoi(Query("*ESR?")); }
    // Sends an averaging set-up, selects its end event ("OPR 16" or "OPR 256") and polls the status
    // byte every 10 ms, as the measurement-end wait does, until bit 7 or 5 shows or 10 s have
    // passed; the virtual time the wait took.
    nanoseconds RunToEnd(const std::string& setup, const std::string& opr) {
        Send(setup + "; *CLS; " + opr + "; *SRE 160");
        const auto start = clock.Now();
        do clock.Sleep(10ms);
        while ((StatusByte() & 0xA0) == 0 && clock.Now() - start <= 10s);
        return clock.Now() - start;
    }

    VirtualClock clock;
    SimulatedAnalyzer analyzer;
    std::int32_t status = 0, error = 0, count = 0, countLong = 0, device = 0;
};

// Fields of a reply split at ','.
std::vector<std::string> Fields(const std::string& reply) {
    std::vector<std::string> fields;
    std::istringstream in(reply);
    for (std::string field; std::getline(in, field, ',');) fields.push_back(field);
    return fields;
}

// The measurements' set-up commands up to their start, joined into one message.
const std::string kObwSetup =
    "SI; SP 10e6HZ; CF 2000000000HZ; RL 0DB; RB 30e3HZ; VB 30e3HZ; AS; DET POS; OBWPER 99; OBWON;"
    "AGSGL; AG 10; AGR; CONTS";
const std::string kAcpSetup =
    "SI; SP 25e6HZ; CF 2000000000HZ; RL 0DB; RB 30e3HZ; VB 30e3HZ; AS; ACPSCR CARR; CARRBS 3.84MZ;"
    "CSBSDEL; CSBSIN 5MZ,3.84MZ; CSBSIN 10MZ,3.84MZ; DETAA ON; ACP; AGSGL; AG 10; AGR; CONTS";
const std::string kChannelPowerSetup =
    "SI; SP 10e6HZ; CF 2000000000HZ; RL 0DB; RB 300e3HZ VB 300e3HZ; AS; DETAA ON;"
    "WLX 2000000000HZ; WDX 3840000HZ; PWCHON; PMEASAVGONCE ONCE; PWCHTM 10; PMEASAVG ON; CONTS";
const std::string kMask3gppSetup =
    "SI; CF 2000000000HZ; RL 0DB; AL; DETAA ON; SP 20MZ; SEMCBW 3.84MZ; SEMRFCALC CHN;"
    "SEMNQST OFF; SEMTDEL; SEMTIN 2.515MZ,2.715MZ, 30KZ, -14DB, -14DB, 0DB, 0DB,ABS;"
    "SEMTIN 2.715MZ,3.515MZ, 30KZ, -14DB, -26DB, 0DB, 0DB,ABS;"
    "SEMTIN 3.515MZ,4.0MZ, 30KZ, -26DB, -26DB, 0DB, 0DB,ABS;"
    "SEMTIN 4.0MZ,8.0MZ, 1MZ, -13DB, -13DB, 0DB, 0DB,ABS; SEMON; TS";

constexpr int kOperationEnd = 0x80, kRequestService = 0x40, kEventSummary = 0x20;
constexpr int kCommandError = 0x20, kExecutionError = 0x10, kQueryError = 0x04;

// Any other device has no listener (or no board, or a bad address); replies end with EOI only.
TEST(SimulatorBus, OnlyAddressEightAnswersAndRepliesEndWithEoiOnly) {
    const std::tuple<int, int, int> cases[] = {
        {0, 5, kErrorEnol}, {1, 8, kErrorEneb}, {0, 31, kErrorEarg}};  // board, address, error
    for (const auto& [board, address, error] : cases) {
        SimulatorFixture bench;
        bench.device = bench.analyzer.ibdev(board, address, 0, 13, 1, 0);
        if (bench.device > 0) bench.Query("*ESR?");  // opens, but the write and the read fail
        EXPECT_EQ(bench.status, kStatusErr) << address;
        EXPECT_EQ(bench.error, error) << address;
    }
    SimulatorFixture bench;
    bench.Send("*IDN?");  // a short buffer takes the reply in pieces; END comes with the last
    const std::string first = bench.Read(8);
    EXPECT_EQ(bench.status, kStatusCmpl);
    EXPECT_EQ(first + bench.Read(), "KELVANE,SIMULATED ANALYZER,0,1.2");
    EXPECT_EQ(bench.status, kStatusCmpl | kStatusEnd);
}

TEST(SimulatorBus, TimeOutsQueryErrorsClosingAndRegistration) {
    SimulatorFixture bench;
    EXPECT_EQ(bench.Read(10), "");
    EXPECT_EQ(bench.status, kStatusErr | kStatusTimo);
    EXPECT_EQ(bench.error, kErrorEabo);
    EXPECT_EQ(bench.clock.Now(), 10s);
    EXPECT_EQ(bench.EventStatus(), kQueryError);
    bench.Send("*IDN?");
    bench.Send("*SRE 32");  // discards the unread reply
    EXPECT_EQ(bench.EventStatus(), kQueryError);
    EXPECT_EQ(bench.analyzer.ibonl(0, 0), kStatusCmpl);  // the board
    bench.analyzer.ibonl(bench.device, 0);
    bench.Send("*CLS");  // a closed descriptor
    EXPECT_EQ(bench.status, kStatusErr);
    EXPECT_EQ(bench.error, kErrorEdvr);
    EXPECT_EQ(bench.analyzer.RegisterGpibGlobalsForThread(&bench.count, {}, {}, {}), 1);  // again
    EXPECT_EQ(bench.analyzer.UnregisterGpibGlobalsForThread(), 0);
    EXPECT_EQ(bench.analyzer.RegisterGpibGlobalsForThread(&bench.count, {}, {}, {}), 0);
}

// ACP averages 10 sweeps of 2.5 x 25 MHz / (30 kHz)^2 each.
const nanoseconds kAcpAveraging = 10 * nanoseconds(static_cast<long long>(2.5 * 25e6 / 9e8 * 1e9));

TEST(SimulatorStatus, OperationEndBitFollowsTheSelectedEvent) {
    const std::tuple<const std::string&, const char*, nanoseconds> cases[] = {
        {kAcpSetup, "OPR 256", kAcpAveraging},
        {kAcpSetup, "OPR 16", {}},  // never
        {kChannelPowerSetup, "OPR 16", 50ms},
        {kChannelPowerSetup, "OPR 256", {}}};
    for (const auto& [setup, opr, end] : cases) {
        SCOPED_TRACE(setup.substr(4, 10) + opr);
        SimulatorFixture bench;
        const nanoseconds waited = bench.RunToEnd(setup, opr);
        const bool ends = end != nanoseconds{};
        EXPECT_GE(waited, ends ? end : 10010ms);
        EXPECT_LT(waited, ends ? end + 10ms : 11s);
        EXPECT_EQ(bench.StatusByte(), ends ? kOperationEnd | kRequestService : 0);
    }
}

// "*CLS" forgets the ends that happened but not those to come; errors raise the summary bit
// until "*ESR?" is read, if "*ESE" enables them.
TEST(SimulatorStatus, ClearAndEventSummary) {
    SimulatorFixture bench;
    bench.Send(kAcpSetup + "; OPR 256");
    bench.clock.Advance(kAcpAveraging);
    EXPECT_EQ(bench.StatusByte(), kOperationEnd);
    bench.Send("*CLS");
    EXPECT_EQ(bench.StatusByte(), 0);
    bench.Send("CONTS; *CLS");  // a new averaging run
    bench.clock.Advance(kAcpAveraging - 1ms);
    EXPECT_EQ(bench.StatusByte(), 0);
    bench.clock.Advance(1ms);
    EXPECT_EQ(bench.StatusByte(), kOperationEnd);
    bench.Send("*CLS; *SRE 160; NONSENSE");
    EXPECT_EQ(bench.StatusByte(), kEventSummary | kRequestService);
    EXPECT_EQ(bench.EventStatus(), kCommandError);
    EXPECT_EQ(bench.StatusByte(), 0);
    bench.Send("*ESE 0; NONSENSE");
    EXPECT_EQ(bench.StatusByte(), 0);
}

// A query after "TS" answers when the sweep is done, and a "TS" behind another waits for it; a
// read whose time-out ends first times out.
TEST(SimulatorStatus, QueryAfterSingleSweepAnswersWhenTheSweepIsDone) {
    SimulatorFixture bench;
    bench.device = bench.analyzer.ibdev(0, 8, 0, 10, 1, 0);  // 300 ms
    bench.Send("SI; SP 40MZ; CF 2412000000HZ; SW 250MS; DETAA ON; PWTOTALON; TS; TS; PWTOTAL?");
    EXPECT_EQ(bench.Read(50), "");
    EXPECT_EQ(bench.status, kStatusErr | kStatusTimo);
    EXPECT_NEAR(std::stod(bench.Read(50)), -10.0, 0.2);
    EXPECT_EQ(bench.clock.Now(), 500ms);
}

// The tables load field by field, row by row, and survive a preset; the sweep time couples.
TEST(SimulatorCommands, TablesAndFaultsInAMessage) {
    SimulatorFixture bench;
    const auto& state = bench.analyzer.State();
    bench.Send(kMask3gppSetup + "; SEMTIN 22MZ, 39MZ, 1MZ,5DB,6DB,1DB, 2DB, rel; CSBSDEL;" +
               "CSBSIN 5MZ,3.84MZ; CSBSIN 10MZ,3.84MZ; SI");
    ASSERT_EQ(state.maskTable.size(), 5u);
    ASSERT_EQ(state.adjacentChannels.size(), 2u);
    const MaskSegment& rel = state.maskTable[4];
    EXPECT_EQ(std::tie(rel.startOffsetHz, rel.stopOffsetHz, rel.rbwHz, rel.startLevelDb,
                       rel.stopLevelDb, rel.extraLevel1Db, rel.extraLevel2Db, rel.absolute),
              std::make_tuple(22e6, 39e6, 1e6, 5.0, 6.0, 1.0, 2.0, false));
    bench.Send("SEMTDEL; CSBSDEL");
    EXPECT_TRUE(state.maskTable.empty() && state.adjacentChannels.empty());
    EXPECT_EQ(bench.EventStatus(), 0);
    bench.Send("SP 25MZ; RB 30KZ; vb 3kz; SW 2SC; AS");  // auto: 2.5 x span / RBW / VBW
    EXPECT_NEAR(state.EffectiveSweepTimeS(), 2.5 * 25e6 / 9e7, 1e-9);
    bench.Send("SI; RB 10KZ; BOGUS 1; VB 10KZ");  // what came before the fault stands
    EXPECT_EQ(state.EffectiveRbwHz(), 10e3);
    EXPECT_TRUE(state.vbwAuto);
    EXPECT_EQ(bench.EventStatus(), kCommandError);
}

TEST(SimulatorCommands, FaultyCommandsFlagErrorsAndChangeNothing) {
    const std::pair<int, std::vector<std::string>> cases[] = {
        {kCommandError,
         {"FOO", "CF", "CF abc", "CF 2GHZZ", "CF 5DB", "CF 1.5.5MZ", "AG inf", "AG 1e999",
          "CF 1e308GHZ", "DET WIDE", "DETAA MAYBE", "TS,", ",", "\x01\xff", "CSBSIN 5MZ"}},
        {kCommandError,  // mask rows with fields too few, a wrong word or unit, one too many
         {"SEMTIN 1MZ,2MZ", "SEMTIN 1MZ,2MZ,30KZ,0DB,0DB,0DB,0DB",
          "SEMTIN 1MZ,2MZ,30KZ,0DB,0DB,0DB,0DB,XYZ", "SEMTIN 1MZ,2MZ,30KZ,0DB,0MS,0DB,0DB,ABS",
          "SEMTIN 1MZ,,30KZ,0DB,0DB,0DB,0DB,ABS", "SEMTIN 1MZ,2MZ,30KZ,0DB,0DB,0DB,0DB,ABS,9"}},
        // Well-formed but impossible, or the result of a measurement that is off.
        {kExecutionError,
         {"SEMTIN 2MZ,1MZ,30KZ,0DB,0DB,0DB,0DB,ABS", "SP -5MZ", "RB 0HZ", "AG 2.5", "OBWPER 150",
          "*SRE 300", "SEM?", "OBW?", "PWCH?", "ML?"}},
        {0, {"", " ; ;"}}};
    for (const auto& [eventStatus, messages] : cases) {
        for (const auto& message : messages) {
            SCOPED_TRACE(message);
            SimulatorFixture bench;
            const InstrumentState before = bench.analyzer.State();
            bench.Send(message);
            EXPECT_EQ(bench.EventStatus(), eventStatus);
            EXPECT_EQ(bench.EventStatus(), 0);  // read and cleared
            const auto& after = bench.analyzer.State();
            EXPECT_TRUE(after.centerHz == before.centerHz && after.spanHz == before.spanHz &&
                        after.detector == before.detector && after.maskTable.empty());
        }
    }
}

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
        SimulatorFixture bench({}, seed);
        bench.RunToEnd(kObwSetup + (averaged ? "" : "; AGS; CONTS"), "OPR 256");
        const auto fields = Fields(bench.Query("OBW?"));
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
    SimulatorFixture bench;
    bench.RunToEnd(kAcpSetup, "OPR 256");
    bench.Send("ACP?");
    const std::string carrier = bench.Read();
    const auto near = Fields(bench.Read()), far = Fields(bench.Read());
    EXPECT_EQ(carrier, "0," + bench.Query("ACPREF?"));
    ASSERT_EQ(near.size() + far.size(), 8u);
    for (int side : {1, 3}) EXPECT_NEAR(std::stod(near[side]) - std::stod(far[side]), 10.0, 2.0);
    bench.RunToEnd(kChannelPowerSetup + "; RB 30KZ; VB 30KZ; CONTS", "OPR 16");
    const double channelDbm = bench.QueryNumber("PWCH?");
    bench.Send("PWTOTALON");  // the same sweep, integrated over the whole span
    const double totalDbm = bench.QueryNumber("PWTOTAL?");
    EXPECT_NEAR(totalDbm - channelDbm, 0.18, 0.02);
    EXPECT_NEAR(totalDbm, -10.0, 0.05);
    bench.Send("CF 3000000000HZ; SP 40MZ; RB 300KZ; VB 300KZ; TS");
    EXPECT_NEAR(bench.QueryNumber("PWTOTAL?"), -150.0 + 10.0 * std::log10(40e6), 0.2);
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
        SimulatorFixture bench({.signalPowerDbm = powerDbm, .regrowthRaiseDb = raiseDb});
        double base = 0;
        if (mask.sweep.empty()) {
            bench.Send(kMask3gppSetup);
        } else {
            bench.Send("SI; SP 80MZ; RL 0DB; DET POS; " + mask.sweep + "; TS; PS");
            base = bench.QueryNumber("ML?") + 2;
            std::string rows = "SEMTDEL";
            for (const auto& l : mask.limits)
                rows += "; SEMTIN " + std::to_string(l[0]) + "MZ," + std::to_string(l[1]) +
                        "MZ,100KZ," + std::to_string(base + l[2]) + "DB," +
                        std::to_string(base + l[3]) + "DB,0DB,0DB,ABS";
            bench.Send(rows + "; SEMCBW 16.6MZ; SEMNQST OFF; PMEASAVG OFF; SEMON; TS");
        }
        const int segments = static_cast<int>(mask.limits.size());
        bench.Send("SEM?");
        double smallest = 1e9, reference = 0;
        bool anyFail = false;
        for (int i = 0; i < 2 * segments; ++i) {
            const auto f = Fields(bench.Read());
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
        EXPECT_EQ(bench.EventStatus(), 0);
        EXPECT_EQ(anyFail, !passes);
        EXPECT_TRUE(!passes || (smallest >= minMarginDb && smallest <= maxMarginDb)) << smallest;
    }
}

}  // namespace
}  // namespace kelvane::testing
