#include <gtest/gtest.h>

#include "analyzer/MeasurementEndWait.h"
#include "tests/analyzer/BindingFixture.h"
#include "tests/support/VirtualClock.h"

namespace kelvane::testing {
namespace {

using namespace std::string_literals;
using Calls = std::vector<std::string>;

struct WaitFixture : BusFixture {
    WaitFixture() {
        driver->AttachClock(&clock);
        session->OpenAnalyzer();
        driver->calls.clear();
    }
    WaitResult Wait16() { return MeasurementEndWait(*session, clock).WaitOpr16(); }
    VirtualClock clock;
};

TEST(MeasurementEndWait, EndBit7AtOnce) {
    WaitFixture f;
    f.driver->Reply("*STB?", {"128"});
    const auto result = f.Wait16();
    EXPECT_EQ(result.outcome, 0);
    EXPECT_EQ(
        f.driver->Transcript(),
        (Calls{"ibwrt(16, \"*CLS\", 4)", "ibwrt(16, \"OPR 16\", 6)", "ibwrt(16, \"*SRE 160\", 8)",
               "ibwrt(16, \"*STB?\", 5)", "ibrd(16, 10) -> \"128\""}));
    EXPECT_EQ(f.clock.Now(), std::chrono::milliseconds(10));
}

struct StatusCase {
    std::vector<std::string> stb;  // answers to "*STB?", in order
    std::string esr;               // answer to "*ESR?", empty: none expected
    std::int16_t outcome;
    int polls;
};

class StatusTest : public ::testing::TestWithParam<StatusCase> {};

TEST_P(StatusTest, OutcomeFollowsTheStatusBits) {
    const auto& c = GetParam();
    WaitFixture f;
    f.driver->Reply("*STB?", c.stb);
    if (!c.esr.empty()) f.driver->Reply("*ESR?", {c.esr});
    const auto result = MeasurementEndWait(*f.session, f.clock).WaitOpr256();
    EXPECT_EQ(result.outcome, c.outcome);
    const auto writes = f.driver->Writes();
    EXPECT_EQ(std::count(writes.begin(), writes.end(), "*STB?"), c.polls);
    EXPECT_EQ(std::count(writes.begin(), writes.end(), "*ESR?"), c.esr.empty() ? 0 : 1);
    EXPECT_EQ(writes[1], "OPR 256");
}

INSTANTIATE_TEST_SUITE_P(
    Bits, StatusTest,
    ::testing::Values(StatusCase{{"128"}, "", 0, 1}, StatusCase{{"32"}, "8", 1, 1},
                      StatusCase{{"160"}, "16\r\n", 1, 1}, StatusCase{{"32"}, "24", 1, 1},
                      StatusCase{{"32"}, "0", 0, 1}, StatusCase{{"160"}, "4\r\n", 0, 1},
                      StatusCase{{"160"}, "16", 1, 1},  // no terminator: still 16, not 160,
                      StatusCase{{"32"}, "32", 0, 1},
                      StatusCase{{"0", "16", "64", "128"}, "", 0, 4},
                      StatusCase{{"0", "127.5"}, "", 0, 2},      // 127.5 rounds to the even 128
                      StatusCase{{"40000", "128\r"}, "", 0, 2},  // not a status byte: no end
                      StatusCase{{"-1", "256", "128"}, "", 0, 3},
                      StatusCase{{"abc", "128"}, "", 0, 2}, StatusCase{{"128\r\n"}, "", 0, 1},
                      StatusCase{{"128x", "1.2.8", "128"}, "", 0, 3},  // a number must end cleanly
                      // An event flagged whose status is no event status: not a clean end.
                      StatusCase{{"32"}, "-1", 3, 1}, StatusCase{{"32"}, "40000", 3, 1},
                      StatusCase{{"160"}, "nan", 3, 1}, StatusCase{{"160"}, "1e309", 3, 1},
                      StatusCase{{"160"}, "16abc", 3, 1}));

// Reads that did not end with END and no ERR: a status byte shows no bit, an event status is
// unreadable; a read that timed out ends the wait, as the analyzer has stopped answering.
TEST(MeasurementEndWait, ReadsThatEndedWrongShowNothing) {
    const ScriptedDriver::Read cut{"128", kStatusCmpl, 0};  // neither END nor ERR
    const ScriptedDriver::Read broken{"12", kStatusErr | kStatusTimo, kErrorEabo};
    const ScriptedDriver::Read silent{"", kStatusErr | kStatusTimo, kErrorEabo};
    {
        WaitFixture f;
        f.driver->ReplyRead("*STB?", cut);
        f.driver->Reply("*STB?", {"128"});
        EXPECT_EQ(f.Wait16().outcome, 0);
        EXPECT_EQ(f.driver->Writes().size(), 5u);  // two polls
    }
    for (const auto& read : {broken, silent}) {
        WaitFixture f;
        f.driver->ReplyRead("*STB?", read);
        f.driver->ReplyAlways("*STB?", "128");
        EXPECT_EQ(f.Wait16().outcome, 2);
        EXPECT_EQ(f.driver->Writes().size(), 4u);  // one poll
    }
    for (const auto& read : {cut, broken, silent}) {
        WaitFixture f;
        f.driver->Reply("*STB?", {"160"});
        f.driver->ReplyRead("*ESR?", read);
        EXPECT_EQ(f.Wait16().outcome, 3);
    }
}

TEST(MeasurementEndWait, TimesOutAtTheFirstTestAfterTheLimit) {
    for (const char* status : {"0", "16", "64"}) {
        WaitFixture f;
        f.driver->ReplyAlways("*STB?", status);
        EXPECT_EQ(f.Wait16().outcome, 2) << status;
        const auto writes = f.driver->Writes();
        // 1001 cycles of 10 ms: the first whose test sees more than 10 s elapsed.
        EXPECT_EQ(std::count(writes.begin(), writes.end(), "*STB?"), 1001) << status;
        EXPECT_EQ(f.clock.Now(), std::chrono::milliseconds(10010)) << status;  // 10 ms sleeps
    }
}

TEST(MeasurementEndWait, LateEndBitStillCountsAsTimeOut) {
    WaitFixture f;
    f.driver->Reply("*STB?", {"0"});
    f.driver->onCall = [&](const DriverCall& call) {
        if (call.name == "ibrd") f.clock.Advance(std::chrono::seconds(6));
    };
    f.driver->Reply("*STB?", {"128"});
    EXPECT_EQ(f.Wait16().outcome, 2);
}

TEST(MeasurementEndWait, SilentAnalyzerTimesOut) {
    WaitFixture f;  // no answer to "*STB?": each read takes the driver's 10 s
    EXPECT_EQ(f.Wait16().outcome, 2);
    const auto writes = f.driver->Writes();
    EXPECT_EQ(std::count(writes.begin(), writes.end(), "*STB?"), 1);
}

// The reads of one wait share a buffer that is never refilled; a shorter reply must still read as
// what the analyzer sent, not with the earlier reply's digits behind it.
TEST(MeasurementEndWait, ShorterReplyReadsAsItself) {
    WaitFixture f;
    f.driver->Reply("*STB?", {"16", "4", "128"});  // "4" over "16" is not 46 (bit 5)
    EXPECT_EQ(f.Wait16().outcome, 0);
    auto writes = f.driver->Writes();
    EXPECT_EQ(std::count(writes.begin(), writes.end(), "*STB?"), 3);
    EXPECT_EQ(std::count(writes.begin(), writes.end(), "*ESR?"), 0);

    for (const char* esr : {"0", "4"}) {  // over "160" these are not 60 or 460 (error bits)
        WaitFixture g;
        g.driver->Reply("*STB?", {"160"});
        g.driver->Reply("*ESR?", {esr});
        const auto result = g.Wait16();
        EXPECT_EQ(result.outcome, 0) << esr;
        EXPECT_EQ(result.eventStatus, std::atoi(esr));
    }
}

TEST(MeasurementEndWait, StopsPollingAfterABusFault) {
    WaitFixture f;
    f.driver->FailWrite("*STB?", kErrorEnol);
    EXPECT_EQ(f.Wait16().outcome, 2);  // no end was seen
    const auto writes = f.driver->Writes();
    EXPECT_EQ(std::count(writes.begin(), writes.end(), "*STB?"), 1);
    EXPECT_TRUE(f.session->Fault());
}

}  // namespace
}  // namespace kelvane::testing
