// The simulated analyzer's bus behaviour, status model and commands.
#include <chrono>
#include <cmath>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "gpib/GpibCodes.h"
#include "tests/simulator/SimulatorFixture.h"

namespace kelvane::testing {
namespace {

using namespace std::chrono_literals;
using std::chrono::nanoseconds;

// Any other device has no listener (or no board, or a bad address); replies end with EOI only.
TEST(SimulatorBus, OnlyAddressEightAnswersAndRepliesEndWithEoiOnly) {
    const std::tuple<int, int, int> cases[] = {
        {0, 5, kErrorEnol}, {1, 8, kErrorEneb}, {0, 31, kErrorEarg}};  // board, address, error
    for (const auto& [board, address, error] : cases) {
        SimulatorFixture fixture;
        fixture.device = fixture.analyzer.ibdev(board, address, 0, 13, 1, 0);
        if (fixture.device > 0) fixture.Query("*ESR?");  // opens, but the write and the read fail
        EXPECT_EQ(fixture.status, kStatusErr) << address;
        EXPECT_EQ(fixture.error, error) << address;
    }
    SimulatorFixture fixture;
    fixture.Send("*IDN?");  // a short buffer takes the reply in pieces; END comes with the last
    const std::string first = fixture.Read(8);
    EXPECT_EQ(fixture.status, kStatusCmpl);
    EXPECT_EQ(first + fixture.Read(), "KELVANE,SIMULATED ANALYZER,0,1.2");
    EXPECT_EQ(fixture.status, kStatusCmpl | kStatusEnd);
}

TEST(SimulatorBus, TimeOutsQueryErrorsClosingAndRegistration) {
    SimulatorFixture fixture;
    EXPECT_EQ(fixture.Read(10), "");
    EXPECT_EQ(fixture.status, kStatusErr | kStatusTimo);
    EXPECT_EQ(fixture.error, kErrorEabo);
    EXPECT_EQ(fixture.clock.Now(), 10s);
    EXPECT_EQ(fixture.EventStatus(), kQueryError);
    fixture.Send("*IDN?");
    fixture.Send("*SRE 32");  // discards the unread reply
    EXPECT_EQ(fixture.EventStatus(), kQueryError);
    EXPECT_EQ(fixture.analyzer.ibonl(0, 0), kStatusCmpl);  // the board
    fixture.analyzer.ibonl(fixture.device, 0);
    fixture.Send("*CLS");  // a closed descriptor
    EXPECT_EQ(fixture.status, kStatusErr);
    EXPECT_EQ(fixture.error, kErrorEdvr);
    EXPECT_EQ(fixture.analyzer.RegisterGpibGlobalsForThread(&fixture.count, {}, {}, {}),
              1);  // again
    EXPECT_EQ(fixture.analyzer.UnregisterGpibGlobalsForThread(), 0);
    EXPECT_EQ(fixture.analyzer.RegisterGpibGlobalsForThread(&fixture.count, {}, {}, {}), 0);
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
        SimulatorFixture fixture;
        const nanoseconds waited = fixture.RunToEnd(setup, opr);
        const bool ends = end != nanoseconds{};
        EXPECT_GE(waited, ends ? end : 10010ms);
        EXPECT_LT(waited, ends ? end + 10ms : 11s);
        EXPECT_EQ(fixture.StatusByte(), ends ? kOperationEnd | kRequestService : 0);
    }
}

// "*CLS" forgets the ends that happened but not those to come; errors raise the summary bit
// until "*ESR?" is read, if "*ESE" enables them.
TEST(SimulatorStatus, ClearAndEventSummary) {
    SimulatorFixture fixture;
    fixture.Send(kAcpSetup + "; OPR 256");
    fixture.clock.Advance(kAcpAveraging);
    EXPECT_EQ(fixture.StatusByte(), kOperationEnd);
    fixture.Send("*CLS");
    EXPECT_EQ(fixture.StatusByte(), 0);
    fixture.Send("CONTS; *CLS");  // a new averaging run
    fixture.clock.Advance(kAcpAveraging - 1ms);
    EXPECT_EQ(fixture.StatusByte(), 0);
    fixture.clock.Advance(1ms);
    EXPECT_EQ(fixture.StatusByte(), kOperationEnd);
    fixture.Send("*CLS; *SRE 160; NONSENSE");
    EXPECT_EQ(fixture.StatusByte(), kEventSummary | kRequestService);
    EXPECT_EQ(fixture.EventStatus(), kCommandError);
    EXPECT_EQ(fixture.StatusByte(), 0);
    fixture.Send("*ESE 0; NONSENSE");
    EXPECT_EQ(fixture.StatusByte(), 0);
}

// A query after "TS" answers when the sweep is done, and a "TS" behind another waits for it; a
// read whose time-out ends first times out.
TEST(SimulatorStatus, QueryAfterSingleSweepAnswersWhenTheSweepIsDone) {
    SimulatorFixture fixture;
    fixture.device = fixture.analyzer.ibdev(0, 8, 0, 10, 1, 0);  // 300 ms
    fixture.Send("SI; SP 40MZ; CF 2412000000HZ; SW 250MS; DETAA ON; PWTOTALON; TS; TS; PWTOTAL?");
    EXPECT_EQ(fixture.Read(50), "");
    EXPECT_EQ(fixture.status, kStatusErr | kStatusTimo);
    EXPECT_NEAR(std::stod(fixture.Read(50)), -10.0, 0.2);
    EXPECT_EQ(fixture.clock.Now(), 500ms);
}

// The tables load field by field, row by row, and survive a preset.
TEST(SimulatorCommands, TablesAndFaultsInAMessage) {
    SimulatorFixture fixture;
    const auto& state = fixture.analyzer.State();
    fixture.Send(kMask3gppSetup + "; SEMTIN 22MZ, 39MZ, 1MZ,5DB,6DB,1DB, 2DB, rel; CSBSDEL;" +
                 "CSBSIN 5MZ,3.84MZ; CSBSIN 10MZ,3.84MZ; SI");
    ASSERT_EQ(state.maskTable.size(), 5u);
    ASSERT_EQ(state.adjacentChannels.size(), 2u);
    const MaskTableRow& rel = state.maskTable[4];
    EXPECT_EQ(std::tie(rel.startOffsetHz, rel.stopOffsetHz, rel.rbwHz, rel.startLevelDb,
                       rel.stopLevelDb, rel.extraLevel1Db, rel.extraLevel2Db, rel.absolute),
              std::make_tuple(22e6, 39e6, 1e6, 5.0, 6.0, 1.0, 2.0, false));
    fixture.Send("SEMTDEL; CSBSDEL");
    EXPECT_TRUE(state.maskTable.empty() && state.adjacentChannels.empty());
    EXPECT_EQ(fixture.EventStatus(), 0);
    fixture.Send("SI; RB 10KZ; BOGUS 1; VB 10KZ");  // what came before the fault stands
    EXPECT_EQ(state.EffectiveRbwHz(), 10e3);
    EXPECT_TRUE(state.vbwAuto);
    EXPECT_EQ(fixture.EventStatus(), kCommandError);
}

// The auto-coupled sweep time is 2.5 x span / RBW / VBW, held to the 1000 s that "SW" accepts;
// the averaging end comes after count x sweep time, however long that is.
TEST(SimulatorCommands, SweepTimeCouplesWithinItsLimit) {
    const std::tuple<const char*, double, int> cases[] = {
        {"SP 25MZ; RB 30KZ; vb 3kz; SW 2SC; AS; AG 10", 2.5 * 25e6 / 9e7, 10},
        {"SP 1000GZ; RB 1KZ; VB 1HZ; AG 999", 1000.0, 999},
        {"SP 1000GZ; RB 10HZ; VB 1HZ; AG 999", 1000.0, 999},
        {"SP 10HZ; RB 10MZ; VB 10MZ; AG 1", 0.005, 1}};
    for (const auto& [settings, sweepTimeS, averages] : cases) {
        SCOPED_TRACE(settings);
        SimulatorFixture fixture;
        fixture.Send(std::string("SI; ") + settings + "; *CLS; OPR 256; CONTS");
        EXPECT_NEAR(fixture.analyzer.State().EffectiveSweepTimeS(), sweepTimeS, 1e-9);
        const auto averaging = averages * nanoseconds(std::llround(sweepTimeS * 1e9));
        fixture.clock.Advance(averaging - 1ms);
        EXPECT_EQ(fixture.StatusByte(), 0);
        fixture.clock.Advance(2ms);
        EXPECT_EQ(fixture.StatusByte(), kOperationEnd);
        EXPECT_EQ(fixture.EventStatus(), 0);
    }
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
         {"SEMTIN 2MZ,1MZ,30KZ,0DB,0DB,0DB,0DB,ABS", "SEMTIN 0MZ,9MZ,1E-300HZ,0DB,0DB,0DB,0DB,ABS",
          "SEMTIN 0MZ,9MZ,1HZ,0DB,0DB,0DB,0DB,ABS", "SEMTIN 0MZ,9MZ,1E300HZ,0DB,0DB,0DB,0DB,ABS",
          "SP -5MZ", "RB 0HZ", "AG 2.5", "OBWPER 150", "*SRE 300", "SEM?", "OBW?", "PWCH?", "ML?"}},
        {0, {"", " ; ;"}}};
    for (const auto& [eventStatus, messages] : cases) {
        for (const auto& message : messages) {
            SCOPED_TRACE(message);
            SimulatorFixture fixture;
            const InstrumentState before = fixture.analyzer.State();
            fixture.Send(message);
            EXPECT_EQ(fixture.EventStatus(), eventStatus);
            EXPECT_EQ(fixture.EventStatus(), 0);  // read and cleared
            const auto& after = fixture.analyzer.State();
            EXPECT_TRUE(after.centerHz == before.centerHz && after.spanHz == before.spanHz &&
                        after.detector == before.detector && after.maskTable.empty());
        }
    }
}

}  // namespace
}  // namespace kelvane::testing

namespace kelvane::testing {
namespace {

// Mask rows at the edges of what parses: the analyzer takes or refuses them, and answers.
TEST(SimulatorCommands, ExtremeMaskRowsStillAnswer) {
    for (const char* row :
         {"0MZ,1E300HZ,1MZ", "0MZ,9MZ,10HZ", "1E-300HZ,2E-300HZ,10MZ", "0MZ,1E15HZ,10HZ"}) {
        SCOPED_TRACE(row);
        SimulatorFixture fixture;
        fixture.Send(std::string("SI; CF 2000000000HZ; SP 20MZ; SEMTDEL; SEMTIN ") + row +
                     ",0DB,0DB,0DB,0DB,ABS; SEMON; TS; SEM?");
        fixture.clock.Advance(std::chrono::seconds(30));
        EXPECT_FALSE(fixture.Read().empty());
    }
}

}  // namespace
}  // namespace kelvane::testing
