#include <chrono>
#include <string>

#include <gtest/gtest.h>

#include "bus/GpibCodes.h"
#include "tests/simulator/SimulatorFixture.h"

namespace kelvane::testing {
namespace {

using std::chrono::seconds;

TEST(SimulatorBus, OnlyBoardZeroAddressEightAnswers) {
    struct Case {
        std::int32_t board;
        std::int32_t address;
        bool opens;
        std::int32_t ioError;  // error of a write and a read on the opened device
    };
    const Case cases[] = {
        {0, 8, true, 0},           {0, 5, true, kErrorEnol},   {0, 0, true, kErrorEnol},
        {1, 8, false, kErrorEneb}, {0, 31, false, kErrorEarg},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.board) + "/" + std::to_string(c.address));
        SimulatorFixture bench;
        const std::int32_t device = bench.analyzer.ibdev(c.board, c.address, 0, 13, 1, 0);
        if (!c.opens) {
            EXPECT_EQ(device, -1);
            EXPECT_EQ(bench.status & kStatusErr, kStatusErr);
            EXPECT_EQ(bench.error, c.ioError);
            continue;
        }
        ASSERT_GT(device, 0);
        const std::string query = "*ESR?";
        bench.analyzer.ibwrt(device, query.data(), 5);
        EXPECT_EQ(bench.status & kStatusErr, c.ioError != 0 ? kStatusErr : 0);
        EXPECT_EQ(bench.error, c.ioError);
        char buffer[10];
        bench.analyzer.ibrd(device, buffer, 10);
        EXPECT_EQ(bench.status & kStatusErr, c.ioError != 0 ? kStatusErr : 0);
        EXPECT_EQ(bench.error, c.ioError);
    }
}

TEST(SimulatorBus, ReplyEndsWithEoiOnly) {
    SimulatorFixture bench;
    bench.Send("*ESR?");
    EXPECT_EQ(bench.Read(50), "0");
    EXPECT_EQ(bench.status, kStatusCmpl | kStatusEnd);
    EXPECT_EQ(bench.count, 1);
    EXPECT_EQ(bench.countLong, 1);
}

TEST(SimulatorBus, ShortBufferReadsReplyInPiecesWithEoiOnTheLast) {
    SimulatorFixture bench;
    bench.Send("*IDN?");
    const std::string first = bench.Read(8);
    EXPECT_EQ(bench.status, kStatusCmpl);
    const std::string rest = bench.Read(200);
    EXPECT_EQ(bench.status, kStatusCmpl | kStatusEnd);
    EXPECT_EQ(first + rest, "KELVANE,SIMULATED ANALYZER,0,1.2");
}

TEST(SimulatorBus, ReadWithNothingAskedTimesOutAndFlagsQueryError) {
    SimulatorFixture bench;
    const auto before = bench.clock.Now();
    EXPECT_EQ(bench.Read(10), "");
    EXPECT_EQ(bench.status, kStatusErr | kStatusTimo);
    EXPECT_EQ(bench.error, kErrorEabo);
    EXPECT_EQ(bench.clock.Now() - before, seconds(10));
    EXPECT_EQ(bench.EventStatus(), 0x04);
}

TEST(SimulatorBus, UnreadReplyIsDiscardedByTheNextMessage) {
    SimulatorFixture bench;
    bench.Send("*IDN?");
    bench.Send("*SRE 32");
    EXPECT_EQ(bench.EventStatus(), 0x04);
}

TEST(SimulatorBus, ClosedDescriptorIsInvalidAndReopeningWorks) {
    SimulatorFixture bench;
    EXPECT_EQ(bench.analyzer.ibonl(bench.device, 0), kStatusCmpl);
    EXPECT_EQ(bench.analyzer.ibonl(0, 0), kStatusCmpl);  // the board
    bench.Send("*CLS");
    EXPECT_EQ(bench.status, kStatusErr);
    EXPECT_EQ(bench.error, kErrorEdvr);
    bench.device = bench.analyzer.ibdev(0, 8, 0, 13, 1, 0);
    EXPECT_EQ(bench.Query("*ESR?"), "0");
}

TEST(SimulatorBus, SecondRegistrationReportsAlreadyRegistered) {
    SimulatorFixture bench;
    std::int32_t a = 0, b = 0, c = 0, d = 0;
    EXPECT_EQ(bench.analyzer.RegisterGpibGlobalsForThread(&a, &b, &c, &d), 1);
    EXPECT_EQ(bench.analyzer.UnregisterGpibGlobalsForThread(), 0);
    EXPECT_EQ(bench.analyzer.RegisterGpibGlobalsForThread(&a, &b, &c, &d), 0);
    bench.Send("*CLS");
    EXPECT_EQ(a, kStatusCmpl);
    EXPECT_EQ(c, 4);
}

}  // namespace
}  // namespace kelvane::testing
