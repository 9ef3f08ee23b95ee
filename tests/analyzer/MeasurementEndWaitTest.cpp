#include <gtest/gtest.h>

#include "analyzer/MeasurementEndWait.h"
#include "tests/analyzer/BindingFixture.h"
#include "tests/support/VirtualClock.h"

namespace kelvane::testing {
namespace {

using namespace std::string_literals;
using Calls = std::vector<std::string>;
using End = WaitResult::End;

struct WaitFixture : BindingFixture {
    WaitFixture() {
        driver->AttachClock(&clock);
        session->OpenAnalyzer();
        driver->calls.clear();
    }
    WaitResult WaitForChannelPower() {
        return MeasurementEndWait(*session, clock).WaitForAveragedChannelPower();
    }
    VirtualClock clock;
};

TEST(MeasurementEndWait, EndBit7AtOnce) {
    WaitFixture f;
    f.driver->Reply("*STB?", {"128"});
    const auto result = f.WaitForChannelPower();
    EXPECT_EQ(result.end, End::Seen);
    EXPECT_EQ(
        f.driver->Transcript(),
        (Calls{"ibwrt(16, \"*CLS\", 4)", "ibwrt(16, \"OPR 16\", 6)", "ibwrt(16, \"*SRE 160\", 8)",
               "ibwrt(16, \"*STB?\", 5)", "ibrd(16, 10) -> \"128\""}));
    EXPECT_EQ(f.clock.Now(), std::chrono::milliseconds(10));
}

struct StatusCase {
    std::vector<std::string> stb;  // answers to "*STB?", in order
    std::string esr;               // answer to "*ESR?", empty: none expected
    WaitResult::End end;
    int polls;
};

class StatusTest : public ::testing::TestWithParam<StatusCase> {};

TEST_P(StatusTest, OutcomeFollowsTheStatusBits) {
    const auto& c = GetParam();
    WaitFixture f;
    f.driver->Reply("*STB?", c.stb);
    if (!c.esr.empty()) f.driver->Reply("*ESR?", {c.esr});
    const auto result = MeasurementEndWait(*f.session, f.clock).WaitForAveragedSweeps();
    EXPECT_EQ(result.end, c.end);
    const auto writes = f.driver->Writes();
    EXPECT_EQ(std::count(writes.begin(), writes.end(), "*STB?"), c.polls);
    EXPECT_EQ(std::count(writes.begin(), writes.end(), "*ESR?"), c.esr.empty() ? 0 : 1);
    EXPECT_EQ(writes[1], "OPR 256");
}

INSTANTIATE_TEST_SUITE_P(
    Bits, StatusTest,
    ::testing::Values(
        StatusCase{{"128"}, "", End::Seen, 1}, StatusCase{{"32"}, "8", End::ErrorFlagged, 1},
        StatusCase{{"160"}, "16\r\n", End::ErrorFlagged, 1},
        StatusCase{{"32"}, "24", End::ErrorFlagged, 1}, StatusCase{{"32"}, "0", End::Seen, 1},
        StatusCase{{"160"}, "4\r\n", End::Seen, 1},
        StatusCase{{"160"}, "16", End::ErrorFlagged, 1},  // no terminator: still 16, not 160,
        StatusCase{{"32"}, "32", End::Seen, 1},
        StatusCase{{"0", "16", "64", "128"}, "", End::Seen, 4},
        StatusCase{{"0", "127.5"}, "", End::Seen, 2},      // 127.5 rounds to the even 128
        StatusCase{{"40000", "128\r"}, "", End::Seen, 2},  // not a status byte: no end
        StatusCase{{"-1", "256", "128"}, "", End::Seen, 3},
        StatusCase{{"abc", "128"}, "", End::Seen, 2}, StatusCase{{"128\r\n"}, "", End::Seen, 1},
        StatusCase{{"128x", "1.2.8", "128"}, "", End::Seen, 3},  // a number must end cleanly
        // An event flagged whose status is no event status: not a clean end.
        StatusCase{{"32"}, "-1", End::EventStatusUnreadable, 1},
        StatusCase{{"32"}, "40000", End::EventStatusUnreadable, 1},
        StatusCase{{"160"}, "nan", End::EventStatusUnreadable, 1},
        StatusCase{{"160"}, "1e309", End::EventStatusUnreadable, 1},
        StatusCase{{"160"}, "16abc", End::EventStatusUnreadable, 1}));

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
        EXPECT_EQ(f.WaitForChannelPower().end, End::Seen);
        EXPECT_EQ(f.driver->Writes().size(), 5u);  // two polls
    }
    for (const auto& read : {broken, silent}) {
        WaitFixture f;
        f.driver->ReplyRead("*STB?", read);
        f.driver->ReplyAlways("*STB?", "128");
        EXPECT_EQ(f.WaitForChannelPower().end, End::NotSeen);
        EXPECT_EQ(f.driver->Writes().size(), 4u);  // one poll
    }
    for (const auto& read : {cut, broken, silent}) {
        WaitFixture f;
        f.driver->Reply("*STB?", {"160"});
        f.driver->ReplyRead("*ESR?", read);
        EXPECT_EQ(f.WaitForChannelPower().end, End::EventStatusUnreadable);
    }
}

TEST(MeasurementEndWait, TimesOutAtTheFirstTestAfterTheLimit) {
    for (const char* status : {"0", "16", "64"}) {
        WaitFixture f;
        f.driver->ReplyAlways("*STB?", status);
        EXPECT_EQ(f.WaitForChannelPower().end, End::NotSeen) << status;
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
    EXPECT_EQ(f.WaitForChannelPower().end, End::NotSeen);
}

TEST(MeasurementEndWait, SilentAnalyzerTimesOut) {
    WaitFixture f;  // no answer to "*STB?": each read takes the driver's 10 s
    EXPECT_EQ(f.WaitForChannelPower().end, End::NotSeen);
    const auto writes = f.driver->Writes();
    EXPECT_EQ(std::count(writes.begin(), writes.end(), "*STB?"), 1);
}

// The reads of one wait share a buffer that is never refilled; a shorter reply must still read as
// what the analyzer sent, not with the earlier reply's digits behind it.
TEST(MeasurementEndWait, ShorterReplyReadsAsItself) {
    WaitFixture f;
    f.driver->Reply("*STB?", {"16", "4", "128"});  // "4" over "16" is not 46 (bit 5)
    EXPECT_EQ(f.WaitForChannelPower().end, End::Seen);
    auto writes = f.driver->Writes();
    EXPECT_EQ(std::count(writes.begin(), writes.end(), "*STB?"), 3);
    EXPECT_EQ(std::count(writes.begin(), writes.end(), "*ESR?"), 0);

    for (const char* esr : {"0", "4"}) {  // over "160" these are not 60 or 460 (error bits)
        WaitFixture g;
        g.driver->Reply("*STB?", {"160"});
        g.driver->Reply("*ESR?", {esr});
        const auto result = g.WaitForChannelPower();
        EXPECT_EQ(result.end, End::Seen) << esr;
        EXPECT_EQ(result.eventStatus, std::atoi(esr));
    }
}

TEST(MeasurementEndWait, StopsPollingAfterABusFault) {
    WaitFixture f;
    f.driver->FailWrite("*STB?", kErrorEnol);
    EXPECT_EQ(f.WaitForChannelPower().end, End::NotSeen);  // no end was seen
    const auto writes = f.driver->Writes();
    EXPECT_EQ(std::count(writes.begin(), writes.end(), "*STB?"), 1);
    EXPECT_TRUE(f.session->Fault());
}

}  // namespace
}  // namespace kelvane::testing
