// The adapter driver against the emulated adapter on a virtual clock: the protocol, the status
// words and the device time-out, without a device and without waiting.

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "gpib/EscapedText.h"
#include "gpib/prologix/AdapterDriver.h"
#include "gpib/prologix/AdapterProtocol.h"
#include "tests/gpib/prologix/AdapterDriverFixture.h"

namespace kelvane::testing {
namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;

TEST(AdapterProtocolTest, DataLinesEscapeWhatTheAdapterWouldTakeForItsOwn) {
    const std::pair<std::string, std::string> cases[]{
        {"SI", "SI\n"},
        {"", "\n"},
        {"A\r\nB", "A\x1b\r\x1b\nB\n"},
        {"++ver", "\x1b+\x1b+ver\n"},
        {std::string("x\x1b\0y", 4), std::string("x\x1b\x1b\0y\n", 6)},
    };
    for (const auto& [data, line] : cases) EXPECT_EQ(AdapterDataLine(data), line) << data;
}

TEST(AdapterProtocolTest, KnowsTheAdaptersByTheirVersionAnswer) {
    const std::pair<std::string, std::optional<AdapterKind>> cases[]{
        {"Prologix GPIB-ETHERNET Controller version 01.06.06.00", AdapterKind::Ethernet},
        {"Prologix GPIB-USB Controller version 6.107", AdapterKind::Usb},
        {"prologix gpib-usb controller version 5.0", AdapterKind::Usb},
        {"AR488 GPIB controller, ver. 0.51.18", std::nullopt},
        {"Prologix GPIB-USB Controller", std::nullopt},
        {"GPIB-USB version 6\x01", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& [answer, kind] : cases) EXPECT_EQ(RecogniseAdapter(answer), kind) << answer;
}

TEST(AdapterDriverTest, LongAnswerOverTwoReadsAndAWriteDropsTheRest) {
    AdapterDriverFixture fixture;
    fixture.analyzer.Reply("A?", {"0123456789abc\r\n", "second"});
    fixture.Open();
    fixture.Write("A?");
    EXPECT_EQ(fixture.Read(10), "0123456789");
    EXPECT_EQ(fixture.status, kStatusCmpl) << "no END before the last byte";
    EXPECT_EQ(fixture.Read(10), "abc\r\n");
    EXPECT_EQ(fixture.status, kStatusCmpl | kStatusEnd);
    fixture.Write("A?");
    EXPECT_EQ(fixture.Read(3), "sec");
    fixture.Write("B");
    EXPECT_EQ(fixture.analyzer.Writes(), (std::vector<std::string>{"A?", "A?", "B"}));
    fixture.Write("A?");
    EXPECT_EQ(fixture.Read(50), "") << "nothing of the dropped answer is left";
    EXPECT_EQ(fixture.status, kStatusErr | kStatusTimo);
}

TEST(AdapterDriverTest, EscapedBytesReachTheAnalyzerAsWritten) {
    AdapterDriverFixture fixture;
    fixture.Open();
    const std::string text("CMD \"a\r\nb\" ++x\x1b\0", 16);
    fixture.Write(text);
    EXPECT_EQ(fixture.countLong, 16);
    EXPECT_EQ(fixture.analyzer.Writes(), std::vector<std::string>{text});
    EXPECT_TRUE(fixture.emulator.Violations().empty());
}

TEST(AdapterDriverTest, AsksAgainWhileTheAnalyzerSweepsUntilTheDeviceTimeOut) {
    const ScriptedDriver::Read silent{"", kStatusErr | kStatusTimo, kErrorEabo};
    AdapterDriverFixture fixture;
    fixture.analyzer.ReplyRead("*STB?", silent);
    fixture.analyzer.ReplyRead("*STB?", silent);
    fixture.analyzer.ReplyRead("*STB?", {"128\n"});
    fixture.Open();
    fixture.Write("*STB?");
    const double start = fixture.Seconds();
    EXPECT_EQ(fixture.Read(10), "128\n");
    EXPECT_EQ(fixture.status, kStatusCmpl | kStatusEnd);
    EXPECT_NEAR(fixture.Seconds() - start, 6.5, 0.01) << "two adapter time-outs of 3 s and margin";

    fixture.Write("X?");  // never answered
    const double again = fixture.Seconds();
    EXPECT_EQ(fixture.Read(10), "");
    EXPECT_EQ(fixture.status, kStatusErr | kStatusTimo);
    EXPECT_EQ(fixture.error, kErrorEabo);
    EXPECT_NEAR(fixture.Seconds() - again, 10.0, 0.01);
    const auto& commands = fixture.emulator.Commands();
    EXPECT_EQ(std::count(commands.begin(), commands.end(), "++read eoi"), 3 + 4);
}

TEST(AdapterDriverTest, NoStrayByteLeadsTheNextAnswer) {
    // The stray bytes come a moment after each answer: before the next write, or (back-to-back
    // reads) only once the next read has asked for its answer.
    for (const auto pause : {milliseconds(5), milliseconds(0)}) {
        for (const std::string& stray : {std::string(1, '\0'), std::string("\x04"),
                                         std::string("\r\n"), std::string("\r\0\n", 3)}) {
            AdapterDriverFixture fixture([&](auto& o) { o.afterAnswer = stray; });
            fixture.analyzer.Reply("A?", {"1"});
            fixture.analyzer.Reply("B?", {"2"});
            fixture.analyzer.Reply("C?", {"3\r\n"});
            fixture.analyzer.Reply("D?", {"4"});
            fixture.Open();
            for (const auto& [query, answer] : std::vector<std::pair<std::string, std::string>>{
                     {"A?", "1"}, {"B?", "2"}, {"C?", "3\r\n"}, {"D?", "4"}}) {
                fixture.Write(query);
                EXPECT_EQ(fixture.Read(10), answer) << EscapedText(stray) << " " << pause.count();
                EXPECT_EQ(fixture.status, kStatusCmpl | kStatusEnd) << query;
                fixture.clock.Advance(pause);
            }
            EXPECT_LT(fixture.Seconds(), 1.0) << "no read waited for its adapter time-out";
        }
    }
    // Line ends and NUL alone are an answer when its end character follows them.
    AdapterDriverFixture fixture;
    fixture.analyzer.Reply("E?", {"\r\n", std::string(2, '\0')});
    fixture.Open();
    fixture.Write("E?");
    EXPECT_EQ(fixture.Read(10), "\r\n");
    fixture.Write("E?");
    EXPECT_EQ(fixture.Read(10), std::string(2, '\0'));
    EXPECT_EQ(fixture.status, kStatusCmpl | kStatusEnd);
}

TEST(AdapterDriverTest, TellsEachDroppedByteOnce) {
    const ScriptedDriver::Read silent{"", kStatusErr | kStatusTimo, kErrorEabo};
    AdapterDriverFixture fixture([](auto& o) { o.afterAnswer = std::string(1, '\0'); });
    fixture.analyzer.Reply("A?", {"1"});
    fixture.analyzer.ReplyRead("S?", silent);
    fixture.analyzer.Reply("B?", {"2"});
    fixture.analyzer.Reply("C?", {"3"});
    fixture.Open();
    fixture.details.clear();
    fixture.Write("A?");
    EXPECT_EQ(fixture.Read(10), "1");
    fixture.Write("S?");
    EXPECT_EQ(fixture.Read(10), "") << "the stray NUL of \"1\" is no answer";
    fixture.Write("B?");  // the read of "S?" is still under way: settled first
    EXPECT_EQ(fixture.Read(10), "2");
    fixture.Write("C?");
    EXPECT_EQ(fixture.Read(10), "3");
    fixture.driver.ibonl(AdapterDriver::kDeviceDescriptor, 0);
    const std::string dropped = "lan:test:1234: dropped 1 byte(s) that nobody asked for";
    EXPECT_EQ(fixture.details,
              (std::vector<std::string>{dropped + " with an answer", dropped + " with an answer"}));
}

TEST(AdapterDriverTest, AnAnswerThatComesAfterTheTimeOutDoesNotLeadTheNextOne) {
    AdapterDriverFixture fixture([](auto& o) {
        o.slowQuery = "A?";
        o.slowDelay = seconds(11);
    });
    fixture.analyzer.Reply("A?", {"1"});
    fixture.analyzer.Reply("B?", {"2"});
    fixture.Open();
    fixture.Write("A?");
    EXPECT_EQ(fixture.Read(10), "");
    EXPECT_EQ(fixture.status, kStatusErr | kStatusTimo);
    fixture.Write("B?");
    EXPECT_EQ(fixture.status, kStatusCmpl);
    EXPECT_EQ(fixture.Read(10), "2");
    EXPECT_EQ(fixture.status, kStatusCmpl | kStatusEnd);
    EXPECT_EQ(fixture.analyzer.Writes(), (std::vector<std::string>{"A?", "B?"}));
}

TEST(AdapterDriverTest, AfterALostConnectionNothingMoreIsSentUntilTheNextSession) {
    AdapterDriverFixture fixture([](auto& o) { o.dropAt = "A?"; });
    fixture.analyzer.Reply("A?", {"1", "2"});
    fixture.Open();
    fixture.Write("A?");
    EXPECT_EQ(fixture.status, kStatusCmpl);
    EXPECT_EQ(fixture.Read(10), "");
    EXPECT_EQ(fixture.status, kStatusErr);
    EXPECT_EQ(fixture.error, kErrorEdvr);
    ASSERT_EQ(fixture.problems.size(), 1u);
    EXPECT_NE(fixture.problems[0].find("connection to the adapter lost at a read"),
              std::string::npos);
    fixture.Write("B");
    EXPECT_EQ(fixture.status, kStatusErr);
    EXPECT_EQ(fixture.error, kErrorEdvr);
    fixture.driver.ibonl(AdapterDriver::kDeviceDescriptor, 0);
    fixture.driver.ibonl(0, 0);
    EXPECT_EQ(fixture.analyzer.Writes(), std::vector<std::string>{"A?"});

    EXPECT_EQ(fixture.Open(), AdapterDriver::kDeviceDescriptor) << "a new session connects afresh";
    fixture.Write("A?");
    EXPECT_EQ(fixture.Read(10), "1");
}

}  // namespace
}  // namespace kelvane::testing
