#include <gtest/gtest.h>

#include "analyzer/GpibRegistrationFailure.h"
#include "tests/analyzer/BindingFixture.h"

namespace kelvane::testing {
namespace {

using Calls = std::vector<std::string>;

struct RegistrationCase {
    std::vector<std::int32_t> results;  // of the first registration, and of the second
    std::string message;                // empty: registration succeeds
    Calls calls;                        // all driver calls of a first ibonl(16, 0)
};

class RegistrationTest : public ::testing::TestWithParam<RegistrationCase> {};

TEST_P(RegistrationTest, ActsOnTheDriverResult) {
    const auto& c = GetParam();
    BindingFixture bus;
    bus.driver->SetRegistrationResults(c.results);
    if (c.message.empty()) {
        bus.binding->ibonl(16, 0);
        EXPECT_TRUE(bus.binding->Registered());
        EXPECT_TRUE(bus.messages.empty());
    } else {
        EXPECT_THROW(bus.binding->ibonl(16, 0), GpibRegistrationFailure);
        ASSERT_EQ(bus.messages, Calls{c.message});
        EXPECT_FALSE(bus.binding->Registered());
        // The message comes before the unregistration, and nothing follows it.
        EXPECT_EQ(bus.callsAtMessage, c.results.size() == 1 ? 1u : 3u);
        EXPECT_THROW(bus.binding->ibonl(16, 0), GpibRegistrationFailure);
    }
    EXPECT_EQ(bus.driver->Transcript(), c.calls);
}

INSTANTIATE_TEST_SUITE_P(
    Results, RegistrationTest,
    ::testing::Values(
        RegistrationCase{{0}, "", {"RegisterGpibGlobalsForThread()", "ibonl(16, 0)"}},
        RegistrationCase{{1, 0},
                         "",
                         {"RegisterGpibGlobalsForThread()", "UnregisterGpibGlobalsForThread()",
                          "RegisterGpibGlobalsForThread()", "ibonl(16, 0)"}},
        RegistrationCase{{2},
                         "Operating System is not multi-threaded. Quitting the Program!",
                         {"RegisterGpibGlobalsForThread()", "UnregisterGpibGlobalsForThread()"}},
        RegistrationCase{{3},
                         "Unable to register GPIB thread globals. Quitting the Program!",
                         {"RegisterGpibGlobalsForThread()", "UnregisterGpibGlobalsForThread()"}},
        RegistrationCase{{7},
                         "Unknown Error for Registering GPIB Globals!!! Quitting the Program!",
                         {"RegisterGpibGlobalsForThread()"}},
        // The second registration's answer is examined too.
        RegistrationCase{{1, 3},
                         "Unable to register GPIB thread globals. Quitting the Program!",
                         {"RegisterGpibGlobalsForThread()", "UnregisterGpibGlobalsForThread()",
                          "RegisterGpibGlobalsForThread()", "UnregisterGpibGlobalsForThread()"}},
        RegistrationCase{{1, 1},
                         "Unknown Error for Registering GPIB Globals!!! Quitting the Program!",
                         {"RegisterGpibGlobalsForThread()", "UnregisterGpibGlobalsForThread()",
                          "RegisterGpibGlobalsForThread()"}}));

TEST(GpibBinding, RegistersOnceForTheProgramsLife) {
    BindingFixture bus;
    bus.binding->ibonl(16, 0);
    std::string buffer(4, ' ');
    bus.binding->ibwrt(16, "SI");
    bus.binding->ibrd(16, buffer);
    EXPECT_EQ(bus.driver->Transcript(), (Calls{"RegisterGpibGlobalsForThread()", "ibonl(16, 0)",
                                               "ibwrt(16, \"SI\", 2)", "ibrd(16, 4) -> \"\""}));
}

TEST(GpibBinding, MissingDriverIsARegistrationFailureWithoutDriverCalls) {
    std::vector<std::string> messages;
    GpibBinding binding(
        [] {
            return DriverLoad{nullptr, "cannot open libgpib.so.0"};
        },
        [&](const std::string& m) { messages.push_back(m); });
    EXPECT_THROW(binding.ibdev(0, 8, 0, 13, 1, 0), GpibRegistrationFailure);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0],
              "Unable to register GPIB thread globals. Quitting the Program!\n"
              "cannot open libgpib.so.0");
}

TEST(GpibBinding, WritesTheTextsBytesAndNothingElse) {
    BindingFixture bus;
    bus.binding->ibwrt(16, "*STB?");
    const auto& call = bus.driver->calls.back();
    EXPECT_EQ(call.args, (std::vector<std::int32_t>{16, 5}));
    EXPECT_EQ(call.bytes, "*STB?");
}

TEST(GpibBinding, ReadKeepsTheBuffersTail) {
    BindingFixture bus;
    bus.binding->ibwrt(16, "*STB?");
    bus.driver->Reply("*STB?", {"128"});
    std::string buffer = "abcdefghij";
    bus.binding->ibrd(16, buffer);
    EXPECT_EQ(bus.driver->calls.back().args, (std::vector<std::int32_t>{16, 10}));
    EXPECT_EQ(buffer, "128defghij");
    EXPECT_EQ(bus.binding->LastStatus().countLong, 3);
}

TEST(GpibBinding, KeepsTheDriversStatusAndTheLow16BitsOfTheDescriptor) {
    EXPECT_EQ(Low16(0xFFFF), -1);
    EXPECT_EQ(Low16(0x8000), -32768);
    EXPECT_EQ(Low16(0x12345), 0x2345);
    EXPECT_EQ(Low16(-1), -1);

    BindingFixture bus;
    bus.driver->FailIbdev(2);
    EXPECT_EQ(bus.binding->ibdev(0, 8, 0, 13, 1, 0), -1);
    EXPECT_TRUE(bus.binding->LastStatus().Failed());
    EXPECT_EQ(bus.binding->LastStatus().status, 0x8000);
    EXPECT_EQ(bus.binding->LastStatus().error, 2);
}

}  // namespace
}  // namespace kelvane::testing
