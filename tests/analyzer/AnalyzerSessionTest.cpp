#include <algorithm>
#include <functional>

#include <gtest/gtest.h>

#include "tests/analyzer/BindingFixture.h"

namespace kelvane::testing {
namespace {

using Calls = std::vector<std::string>;

TEST(AnalyzerSession, OpensWritesReadsAndCloses) {
    BindingFixture bus;
    auto& session = *bus.session;
    bus.driver->Reply("OBW?", {"1,2"});
    session.OpenAnalyzer();
    session.SendCommand("SI");
    session.SendCommand("OBW?");
    std::string buffer(50, '\0');
    const ReplyRead read = session.ReadReply(buffer);
    EXPECT_EQ(read.bytes, 3);
    EXPECT_TRUE(read.Good());
    session.CloseAnalyzer();
    EXPECT_EQ(session.Descriptor(), ScriptedDriver::kDescriptor);
    EXPECT_EQ(buffer, "1,2" + std::string(47, '\0'));
    EXPECT_EQ(bus.driver->Transcript(),
              (Calls{"RegisterGpibGlobalsForThread()", "ibdev(0, 8, 0, 13, 1, 0)",
                     "ibwrt(16, \"SI\", 2)", "ibwrt(16, \"OBW?\", 4)", "ibrd(16, 50) -> \"1,2\"",
                     "ibonl(16, 0)", "ibonl(0, 0)"}));
    EXPECT_FALSE(session.Fault());
}

// After a read that timed out the analyzer has stopped answering: no later read of the session
// reaches the driver (each would wait out its 10 s), until the next session.
TEST(AnalyzerSession, ReadsNothingMoreAfterATimeOut) {
    BindingFixture bus;
    bus.driver->Reply("ML?", {"-3"});
    bus.session->OpenAnalyzer();
    bus.session->SendCommand("SEM?");
    std::string buffer(200, ' ');
    EXPECT_EQ(bus.session->ReadReply(buffer).end, ReplyRead::End::Silent);
    EXPECT_EQ(buffer, std::string(200, ' '));
    EXPECT_FALSE(bus.session->Fault());  // a time-out is the answer's failure, not the bus's
    bus.session->SendCommand("ML?");
    EXPECT_EQ(bus.session->ReadReply(buffer).end, ReplyRead::End::Skipped);
    bus.session->OpenAnalyzer();
    bus.session->SendCommand("ML?");
    EXPECT_TRUE(bus.session->ReadReply(buffer).Good());
    const auto transcript = bus.driver->Transcript();
    EXPECT_EQ(std::count_if(transcript.begin(), transcript.end(),
                            [](const std::string& call) { return call.starts_with("ibrd"); }),
              2);
}

struct ReadEnding {
    std::int32_t status, error, count;
    ReplyRead::End end;
    std::string description;  // for a 50-byte buffer
};

TEST(ReplyRead, OnlyEndWithoutErrorIsAWholeAnswer) {
    const std::int32_t timeOut = kStatusErr | kStatusTimo;
    const std::vector<ReadEnding> cases{
        {kStatusEnd | kStatusCmpl, 0, 7, ReplyRead::End::Complete, "arrived"},
        {kStatusEnd | kStatusCmpl, 0, 50, ReplyRead::End::Complete, "arrived"},  // exactly full
        {kStatusCmpl, 0, 50, ReplyRead::End::Overflow, "was longer than 50 bytes"},
        {kStatusCmpl, 0, 13, ReplyRead::End::Unterminated,
         "stopped after 13 bytes without its end (EOI)"},
        {timeOut, kErrorEabo, 13, ReplyRead::End::Cut,
         "stopped after 13 bytes (driver error EABO (6))"},
        {timeOut | kStatusEnd, kErrorEabo, 1, ReplyRead::End::Cut,
         "stopped after 1 byte (driver error EABO (6))"},
        {kStatusTimo, 0, 4, ReplyRead::End::Cut, "stopped after 4 bytes (time-out)"},
        {kStatusErr, kErrorEnol, 0, ReplyRead::End::Silent, "did not arrive"},
        {timeOut, kErrorEabo, 0, ReplyRead::End::Silent, "did not arrive"},
        {kStatusEnd, 0, 99, ReplyRead::End::Complete,
         "arrived"},  // a count past the buffer is cut to it
    };
    for (const auto& c : cases) {
        const ReplyRead read = ClassifyRead(c.status, c.error, c.count, 50);
        EXPECT_EQ(read.end, c.end) << c.description;
        EXPECT_EQ(read.bytes, std::min(c.count, 50));
        EXPECT_EQ(DescribeBadRead(read, 50), c.description);
    }
}

TEST(AnalyzerSession, FailedOpenStopsAllTrafficButTheClose) {
    BindingFixture bus;
    bus.driver->FailIbdev(kErrorEneb);
    bus.session->OpenAnalyzer();
    bus.session->SendCommand("SI");
    std::string buffer(10, '\0');
    bus.session->ReadReply(buffer);
    bus.session->CloseAnalyzer();
    ASSERT_TRUE(bus.session->Fault());
    EXPECT_EQ(bus.session->Fault()->operation, "ibdev");
    EXPECT_EQ(bus.session->Fault()->error, kErrorEneb);
    EXPECT_EQ(bus.session->Descriptor(), -1);
    EXPECT_EQ(bus.driver->Transcript(),
              (Calls{"RegisterGpibGlobalsForThread()", "ibdev(0, 8, 0, 13, 1, 0)", "ibonl(0, 0)"}));
    EXPECT_TRUE(bus.session->BoardUnavailable());  // no such board: the PC is not set up
}

TEST(AnalyzerSession, RejectedWriteIsTheLastWriteUntilReopened) {
    BindingFixture bus;
    bus.driver->FailWrite("SP 20MZ", kErrorEnol);
    auto& session = *bus.session;
    session.OpenAnalyzer();
    for (const char* command : {"SI", "SP 20MZ", "TS"}) session.SendCommand(command);
    ASSERT_TRUE(session.Fault());
    EXPECT_EQ(session.Fault()->operation, "SP 20MZ");
    EXPECT_EQ(session.Fault()->error, kErrorEnol);
    EXPECT_EQ(bus.driver->Writes(), (Calls{"SI", "SP 20MZ"}));
    EXPECT_FALSE(session.BoardUnavailable());

    session.OpenAnalyzer();  // a new session starts clean
    EXPECT_FALSE(session.Fault());
    session.SendCommand("TS");
    EXPECT_EQ(bus.driver->Writes().back(), "TS");
}

// An analyzer that took no part in a session (switched off, another address): its first write
// found no listener or its first read got no byte before the time-out. Any answer, or a fault
// later on, shows an analyzer that is there.
TEST(AnalyzerSession, TellsAnAbsentAnalyzerFromAFaultyOne) {
    struct Case {
        const char* what;
        std::function<void(ScriptedDriver&)> script;
        bool absent;
        std::string timedOutQuery;  // empty: no read timed out
    };
    const std::vector<Case> cases{
        {"first read silent", [](ScriptedDriver&) {}, true, "*STB?"},
        {"first write unheard", [](ScriptedDriver& d) { d.FailWrite("SI", kErrorEnol); }, true, ""},
        {"later write unheard", [](ScriptedDriver& d) { d.FailWrite("*STB?", kErrorEnol); }, false,
         ""},
        {"first write refused otherwise", [](ScriptedDriver& d) { d.FailWrite("SI", kErrorEabo); },
         false, ""},
        {"first read cut",
         [](ScriptedDriver& d) {
             d.ReplyRead("*STB?", {"1", kStatusErr | kStatusTimo, kErrorEabo});
         },
         false, "*STB?"},
        {"later read silent", [](ScriptedDriver& d) { d.Reply("*STB?", {"0"}); }, false, "*STB?"},
        {"unopened", [](ScriptedDriver& d) { d.FailIbdev(kErrorEdvr); }, false, ""},
    };
    for (const auto& c : cases) {
        BindingFixture bus;
        c.script(*bus.driver);
        bus.session->OpenAnalyzer();
        bus.session->SendCommand("SI");
        std::string buffer(10, '\0');
        for (int poll = 0; poll < 2; ++poll) {
            bus.session->SendCommand("*STB?");
            bus.session->ReadReply(buffer);
        }
        EXPECT_EQ(bus.session->AnalyzerAbsent(), c.absent) << c.what;
        const auto& timedOut = bus.session->TimedOut();
        EXPECT_EQ(timedOut ? timedOut->query : "", c.timedOutQuery) << c.what;
        bus.session->CloseAnalyzer();
        bus.session->OpenAnalyzer();  // a new session forgets
        EXPECT_FALSE(bus.session->AnalyzerAbsent() || bus.session->TimedOut()) << c.what;
    }
}

}  // namespace
}  // namespace kelvane::testing
