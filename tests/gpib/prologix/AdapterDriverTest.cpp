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
    DriverBench bench;
    bench.analyzer.Reply("A?", {"0123456789abc\r\n", "second"});
    bench.Open();
    bench.Write("A?");
    EXPECT_EQ(bench.Read(10), "0123456789");
    EXPECT_EQ(bench.status, kStatusCmpl) << "no END before the last byte";
    EXPECT_EQ(bench.Read(10), "abc\r\n");
    EXPECT_EQ(bench.status, kStatusCmpl | kStatusEnd);
    bench.Write("A?");
    EXPECT_EQ(bench.Read(3), "sec");
    bench.Write("B");
    EXPECT_EQ(bench.analyzer.Writes(), (std::vector<std::string>{"A?", "A?", "B"}));
    bench.Write("A?");
    EXPECT_EQ(bench.Read(50), "") << "nothing of the dropped answer is left";
    EXPECT_EQ(bench.status, kStatusErr | kStatusTimo);
}

TEST(AdapterDriverTest, EscapedBytesReachTheAnalyzerAsWritten) {
    DriverBench bench;
    bench.Open();
    const std::string text("CMD \"a\r\nb\" ++x\x1b\0", 16);
    bench.Write(text);
    EXPECT_EQ(bench.countLong, 16);
    EXPECT_EQ(bench.analyzer.Writes(), std::vector<std::string>{text});
    EXPECT_TRUE(bench.emulator.Violations().empty());
}

TEST(AdapterDriverTest, AsksAgainWhileTheAnalyzerSweepsUntilTheDeviceTimeOut) {
    const ScriptedDriver::Read silent{"", kStatusErr | kStatusTimo, kErrorEabo};
    DriverBench bench;
    bench.analyzer.ReplyRead("*STB?", silent);
    bench.analyzer.ReplyRead("*STB?", silent);
    bench.analyzer.ReplyRead("*STB?", {"128\n"});
    bench.Open();
    bench.Write("*STB?");
    const double start = bench.Seconds();
    EXPECT_EQ(bench.Read(10), "128\n");
    EXPECT_EQ(bench.status, kStatusCmpl | kStatusEnd);
    EXPECT_NEAR(bench.Seconds() - start, 6.5, 0.01) << "two adapter time-outs of 3 s and margin";

    bench.Write("X?");  // never answered
    const double again = bench.Seconds();
    EXPECT_EQ(bench.Read(10), "");
    EXPECT_EQ(bench.status, kStatusErr | kStatusTimo);
    EXPECT_EQ(bench.error, kErrorEabo);
    EXPECT_NEAR(bench.Seconds() - again, 10.0, 0.01);
    const auto& commands = bench.emulator.Commands();
    EXPECT_EQ(std::count(commands.begin(), commands.end(), "++read eoi"), 3 + 4);
}

TEST(AdapterDriverTest, NoStrayByteLeadsTheNextAnswer) {
    // The stray bytes come a moment after each answer: before the next write, or (back-to-back
    // reads) only once the next read has asked for its answer.
    for (const auto pause : {milliseconds(5), milliseconds(0)}) {
        for (const std::string& stray : {std::string(1, '\0'), std::string("\x04"),
                                         std::string("\r\n"), std::string("\r\0\n", 3)}) {
            DriverBench bench([&](auto& o) { o.afterAnswer = stray; });
            bench.analyzer.Reply("A?", {"1"});
            bench.analyzer.Reply("B?", {"2"});
            bench.analyzer.Reply("C?", {"3\r\n"});
            bench.analyzer.Reply("D?", {"4"});
            bench.Open();
            for (const auto& [query, answer] : std::vector<std::pair<std::string, std::string>>{
                     {"A?", "1"}, {"B?", "2"}, {"C?", "3\r\n"}, {"D?", "4"}}) {
                bench.Write(query);
                EXPECT_EQ(bench.Read(10), answer) << EscapedText(stray) << " " << pause.count();
                EXPECT_EQ(bench.status, kStatusCmpl | kStatusEnd) << query;
                bench.clock.Advance(pause);
            }
            EXPECT_LT(bench.Seconds(), 1.0) << "no read waited for its adapter time-out";
        }
    }
    // Line ends and NUL alone are an answer when its end character follows them.
    DriverBench bench;
    bench.analyzer.Reply("E?", {"\r\n", std::string(2, '\0')});
    bench.Open();
    bench.Write("E?");
    EXPECT_EQ(bench.Read(10), "\r\n");
    bench.Write("E?");
    EXPECT_EQ(bench.Read(10), std::string(2, '\0'));
    EXPECT_EQ(bench.status, kStatusCmpl | kStatusEnd);
}

TEST(AdapterDriverTest, TellsEachDroppedByteOnce) {
    const ScriptedDriver::Read silent{"", kStatusErr | kStatusTimo, kErrorEabo};
    DriverBench bench([](auto& o) { o.afterAnswer = std::string(1, '\0'); });
    bench.analyzer.Reply("A?", {"1"});
    bench.analyzer.ReplyRead("S?", silent);
    bench.analyzer.Reply("B?", {"2"});
    bench.analyzer.Reply("C?", {"3"});
    bench.Open();
    bench.details.clear();
    bench.Write("A?");
    EXPECT_EQ(bench.Read(10), "1");
    bench.Write("S?");
    EXPECT_EQ(bench.Read(10), "") << "the stray NUL of \"1\" is no answer";
    bench.Write("B?");  // the read of "S?" is still under way: settled first
    EXPECT_EQ(bench.Read(10), "2");
    bench.Write("C?");
    EXPECT_EQ(bench.Read(10), "3");
    bench.driver.ibonl(AdapterDriver::kDeviceDescriptor, 0);
    const std::string dropped = "lan:test:1234: dropped 1 byte(s) that nobody asked for";
    EXPECT_EQ(bench.details,
              (std::vector<std::string>{dropped + " with an answer", dropped + " with an answer"}));
}

TEST(AdapterDriverTest, AnAnswerThatComesAfterTheTimeOutDoesNotLeadTheNextOne) {
    DriverBench bench([](auto& o) {
        o.slowQuery = "A?";
        o.slowDelay = seconds(11);
    });
    bench.analyzer.Reply("A?", {"1"});
    bench.analyzer.Reply("B?", {"2"});
    bench.Open();
    bench.Write("A?");
    EXPECT_EQ(bench.Read(10), "");
    EXPECT_EQ(bench.status, kStatusErr | kStatusTimo);
    bench.Write("B?");
    EXPECT_EQ(bench.status, kStatusCmpl);
    EXPECT_EQ(bench.Read(10), "2");
    EXPECT_EQ(bench.status, kStatusCmpl | kStatusEnd);
    EXPECT_EQ(bench.analyzer.Writes(), (std::vector<std::string>{"A?", "B?"}));
}

TEST(AdapterDriverTest, AfterALostConnectionNothingMoreIsSentUntilTheNextSession) {
    DriverBench bench([](auto& o) { o.dropAt = "A?"; });
    bench.analyzer.Reply("A?", {"1", "2"});
    bench.Open();
    bench.Write("A?");
    EXPECT_EQ(bench.status, kStatusCmpl);
    EXPECT_EQ(bench.Read(10), "");
    EXPECT_EQ(bench.status, kStatusErr);
    EXPECT_EQ(bench.error, kErrorEdvr);
    ASSERT_EQ(bench.problems.size(), 1u);
    EXPECT_NE(bench.problems[0].find("connection to the adapter lost at a read"),
              std::string::npos);
    bench.Write("B");
    EXPECT_EQ(bench.status, kStatusErr);
    EXPECT_EQ(bench.error, kErrorEdvr);
    bench.driver.ibonl(AdapterDriver::kDeviceDescriptor, 0);
    bench.driver.ibonl(0, 0);
    EXPECT_EQ(bench.analyzer.Writes(), std::vector<std::string>{"A?"});

    EXPECT_EQ(bench.Open(), AdapterDriver::kDeviceDescriptor) << "a new session connects afresh";
    bench.Write("A?");
    EXPECT_EQ(bench.Read(10), "1");
}

}  // namespace
}  // namespace kelvane::testing
