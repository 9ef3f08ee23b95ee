#include <gtest/gtest.h>

#include "tests/bus/BusFixture.h"

namespace kelvane::testing {
namespace {

using Calls = std::vector<std::string>;

TEST(AnalyzerSession, OpensWritesReadsAndCloses) {
    BusFixture bus;
    auto& session = *bus.session;
    bus.driver->Reply("OBW?", {"1,2"});
    session.OpenAnalyzer();
    session.SendCommand("SI");
    session.SendCommand("OBW?");
    std::string buffer(50, '\0');
    EXPECT_EQ(session.ReadReply(buffer), 3);
    session.CloseAnalyzer();
    EXPECT_EQ(session.DevHandle, ScriptedDriver::kDescriptor);
    EXPECT_EQ(buffer, "1,2" + std::string(47, '\0'));
    EXPECT_EQ(bus.driver->Transcript(),
              (Calls{"RegisterGpibGlobalsForThread()", "ibdev(0, 8, 0, 13, 1, 0)",
                     "ibwrt(16, \"SI\", 2)", "ibwrt(16, \"OBW?\", 4)", "ibrd(16, 50) -> \"1,2\"",
                     "ibonl(16, 0)", "ibonl(0, 0)"}));
    EXPECT_FALSE(session.Fault());
}

TEST(AnalyzerSession, ReadThatGetsNothingLeavesTheBuffer) {
    BusFixture bus;
    bus.session->OpenAnalyzer();
    bus.session->SendCommand("SEM?");
    std::string buffer(200, ' ');
    EXPECT_EQ(bus.session->ReadReply(buffer), 0);
    EXPECT_EQ(buffer, std::string(200, ' '));
    EXPECT_FALSE(bus.session->Fault());  // a time-out is judged by what arrived
}

TEST(AnalyzerSession, FailedOpenStopsAllTrafficButTheClose) {
    BusFixture bus;
    bus.driver->FailIbdev(kErrorEneb);
    bus.session->OpenAnalyzer();
    bus.session->SendCommand("SI");
    std::string buffer(10, '\0');
    bus.session->ReadReply(buffer);
    bus.session->CloseAnalyzer();
    ASSERT_TRUE(bus.session->Fault());
    EXPECT_EQ(bus.session->Fault()->operation, "ibdev");
    EXPECT_EQ(bus.session->Fault()->error, kErrorEneb);
    EXPECT_EQ(bus.session->DevHandle, -1);
    EXPECT_EQ(bus.driver->Transcript(),
              (Calls{"RegisterGpibGlobalsForThread()", "ibdev(0, 8, 0, 13, 1, 0)", "ibonl(-1, 0)",
                     "ibonl(0, 0)"}));
}

TEST(AnalyzerSession, RejectedWriteIsTheLastWriteUntilReopened) {
    BusFixture bus;
    bus.driver->FailWrite("SP 20MZ", kErrorEnol);
    auto& session = *bus.session;
    session.OpenAnalyzer();
    for (const char* command : {"SI", "SP 20MZ", "TS"}) session.SendCommand(command);
    ASSERT_TRUE(session.Fault());
    EXPECT_EQ(session.Fault()->operation, "SP 20MZ");
    EXPECT_EQ(session.Fault()->error, kErrorEnol);
    EXPECT_EQ(bus.driver->Writes(), (Calls{"SI", "SP 20MZ"}));

    session.OpenAnalyzer();  // a new session starts clean
    EXPECT_FALSE(session.Fault());
    session.SendCommand("TS");
    EXPECT_EQ(bus.driver->Writes().back(), "TS");
}

}  // namespace
}  // namespace kelvane::testing
