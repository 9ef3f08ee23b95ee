// Setting the adapter up at ibdev, against the emulated adapter on a virtual clock: the
// commands its firmware takes, the wait while it starts, and adapters that cannot be used.

#include <algorithm>
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

TEST(AdapterDriverTest, SetsTheAdapterUpAsItsFirmwareAllows) {
    for (const auto kind : {AdapterKind::Ethernet, AdapterKind::Usb}) {
        AdapterDriverFixture fixture([&](auto& o) { o.kind = kind; });
        EXPECT_EQ(fixture.Open(), AdapterDriver::kDeviceDescriptor);
        EXPECT_EQ(fixture.status, kStatusCmpl);
        std::vector<std::string> expected{"++ver"};
        if (kind == AdapterKind::Usb) expected.emplace_back("++savecfg 0");
        for (const char* command :
             {"++mode 1", "++auto 0", "++addr 8", "++eoi 1", "++eos 3", "++eot_enable 1",
              "++eot_char 4", "++read_tmo_ms 3000", "++addr"})
            expected.emplace_back(command);
        EXPECT_EQ(fixture.emulator.Commands(), expected);
        EXPECT_TRUE(fixture.emulator.Violations().empty());
        EXPECT_TRUE(fixture.analyzer.calls.empty()) << "nothing reaches the analyzer at ibdev";
    }
}

TEST(AdapterDriverTest, WaitsForAnAdapterThatStartsUpAfterItsPortOpened) {
    AdapterDriverFixture fixture([](auto& o) {
        o.kind = AdapterKind::Usb;
        o.startUp = milliseconds(1800);
    });
    EXPECT_EQ(fixture.Open(), AdapterDriver::kDeviceDescriptor);
    EXPECT_GE(fixture.Seconds(), 1.8);
    EXPECT_LT(fixture.Seconds(), 2.5);

    AdapterDriverFixture never([](auto& o) { o.startUp = seconds(4); });
    EXPECT_EQ(never.Open(), -1);
    EXPECT_EQ(never.status, kStatusErr);
    EXPECT_EQ(never.error, kErrorEdvr);
    EXPECT_LE(never.Seconds(), 3.01);
    ASSERT_EQ(never.problems.size(), 1u);
    EXPECT_NE(never.problems[0].find("no answer to \"++ver\" within 3 s"), std::string::npos);
}

TEST(AdapterDriverTest, SkipsEmptyLinesAndNoiseWhileTheAdapterStartsUp) {
    for (const std::string& noise :
         {std::string("\r\n"), std::string("\xff\xfe\0\x80\r\n", 6),
          std::string("\r\n\xf8junk\r\nPrologix GPIB-USB Controller version 6.107\r\n")}) {
        AdapterDriverFixture fixture([&](auto& o) {
            o.kind = AdapterKind::Usb;
            o.bootNoise = noise;
        });
        EXPECT_EQ(fixture.Open(), AdapterDriver::kDeviceDescriptor) << EscapedText(noise);
        EXPECT_TRUE(fixture.problems.empty()) << fixture.problems.front();
        EXPECT_LT(fixture.Seconds(), 1.0);
        EXPECT_TRUE(fixture.emulator.Violations().empty());
        fixture.analyzer.Reply("A?", {"1"});
        fixture.Write("A?");
        EXPECT_EQ(fixture.Read(10), "1");
    }
}

TEST(AdapterDriverTest, AnUnexpectedAdapterIsRefusedBeforeAnythingIsSent) {
    for (const char* version :
         {"AR488 GPIB controller, ver. 0.51.18", "Prologix GPIB-USB\x01 version 6"}) {
        AdapterDriverFixture fixture([&](auto& o) {
            o.version = version;
            o.bootNoise = "\r\n";
        });
        EXPECT_EQ(fixture.Open(), -1);
        EXPECT_EQ(fixture.error, kErrorEdvr);
        EXPECT_NEAR(fixture.Seconds(), 3.0, 0.01) << "asked again for the whole start-up time";
        ASSERT_EQ(fixture.problems.size(), 1u);
        EXPECT_EQ(fixture.problems[0], "lan:test:1234: the adapter answered \"++ver\" with \"" +
                                           EscapedText(version) +
                                           "\", which is not a Prologix-protocol GPIB-ETHERNET or "
                                           "GPIB-USB controller");
        const auto& commands = fixture.emulator.Commands();
        EXPECT_GT(commands.size(), 2u);
        EXPECT_TRUE(std::all_of(commands.begin(), commands.end(),
                                [](const std::string& c) { return c == "++ver"; }));
        fixture.Write("SI");
        EXPECT_EQ(fixture.status, kStatusErr);
        EXPECT_TRUE(fixture.analyzer.calls.empty());
    }
}

TEST(AdapterDriverTest, AnAdapterThatCannotBeReachedFailsIbdevWithTheReason) {
    VirtualClock clock;
    std::vector<std::string> problems;
    AdapterDriver driver(
        "lan:192.0.2.7:1234",
        [](std::chrono::nanoseconds) {
            return StreamOpen{nullptr, "cannot connect to 192.0.2.7 port 1234: Connection refused"};
        },
        clock,
        [&](AdapterDriver::NoticeKind, const std::string& text) { problems.push_back(text); });
    std::int32_t status = 0, error = -1, count = 0, countLong = 0;
    driver.RegisterGpibGlobalsForThread(&status, &error, &count, &countLong);
    EXPECT_EQ(driver.ibdev(0, 8, 0, 13, 1, 0), -1);
    EXPECT_EQ(status, kStatusErr);
    EXPECT_EQ(error, kErrorEdvr);
    EXPECT_EQ(problems,
              std::vector<std::string>{"lan:192.0.2.7:1234: cannot connect to 192.0.2.7 port 1234: "
                                       "Connection refused"});
}

}  // namespace
}  // namespace kelvane::testing
