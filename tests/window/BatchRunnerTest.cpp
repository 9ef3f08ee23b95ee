#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "bus/VirtualClock.h"
#include "tests/support/ScriptedDriver.h"
#include "tests/window/ForwardingDriver.h"
#include "window/BatchRunner.h"

namespace kelvane {
namespace {

using testing::ForwardingDriver;
using testing::ScriptedDriver;

std::size_t CountCalls(const ScriptedDriver& driver, const std::string& name) {
    std::size_t n = 0;
    for (const auto& call : driver.calls) n += call.name == name ? 1 : 0;
    return n;
}

// A channel power run that ends at once with a good answer.
void GoodChannelPower(ScriptedDriver& driver) {
    driver.ReplyAlways("*STB?", "128");
    driver.Reply("PWCH?", {"-10.2"});
}

void GoodTotalPower(ScriptedDriver& driver) { driver.Reply("PWTOTAL?", {"-12.5"}); }

class BatchRunnerTest : public ::testing::Test {
protected:
    BatchRunnerTest() { driver_.AttachClock(&clock_); }

    int Run(const std::vector<std::string>& names, DriverFactory factory = {}) {
        if (!factory) factory = ForwardingDriver::FactoryFor(driver_);
        BatchRunner runner(std::move(factory), clock_, out_, err_);
        return runner.Run(names);
    }

    VirtualClock clock_;
    ScriptedDriver driver_;
    std::ostringstream out_;
    std::ostringstream err_;
};

TEST_F(BatchRunnerTest, WritesTheLogByteForByte) {
    GoodChannelPower(driver_);
    GoodTotalPower(driver_);
    EXPECT_EQ(Run({"ch-power", "total-power-11b"}), 0);
    EXPECT_EQ(out_.str(),
              "\r\nCH Power Measurement...\r\nChPower = -10.20dBm\r\n"
              "\r\nCH Power Measurement...\r\nChPower = -12.50dBm\r\n");
    EXPECT_EQ(err_.str(), "");
    // Two sessions, each opened and closed: the writes start with each set-up in order.
    EXPECT_EQ(CountCalls(driver_, "ibdev"), 2u);
    EXPECT_EQ(CountCalls(driver_, "RegisterGpibGlobalsForThread"), 1u);
    const auto writes = driver_.Writes();
    ASSERT_GE(writes.size(), 3u);
    EXPECT_EQ(writes[1], "SP 10e6HZ");
    EXPECT_EQ(driver_.calls.back().ToString(), "ibonl(0, 0)");
}

struct StatusCase {
    const char* label;
    std::vector<std::string> names;
    std::function<void(ScriptedDriver&)> script;
    int status;
    std::string inLog;  // expected somewhere in standard output
};

TEST_F(BatchRunnerTest, ExitStatusFollowsTheWorstOutcome) {
    const std::vector<StatusCase> cases{
        {"all good",
         {"total-power-11b", "ch-power"},
         [](ScriptedDriver& d) {
             GoodTotalPower(d);
             GoodChannelPower(d);
         },
         0,
         "ChPower = "},
        {"no answer to the power query",
         {"total-power-11b"},
         [](ScriptedDriver&) {},
         1,
         "CH Power Measurement failed: "},
        {"failure then good run",
         {"total-power-11b", "ch-power"},
         GoodChannelPower,
         1,
         "ChPower = -10.20dBm"},
        {"end never reported",
         {"ch-power"},
         [](ScriptedDriver& d) {
             d.ReplyAlways("*STB?", "0");
             d.Reply("PWCH?", {"-10.2"});
         },
         1,
         "Warning: the analyzer did not report the end of the measurement within 10 s."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        ScriptedDriver driver;
        driver.AttachClock(&clock_);
        c.script(driver);
        std::ostringstream out;
        std::ostringstream err;
        BatchRunner runner(ForwardingDriver::FactoryFor(driver), clock_, out, err);
        EXPECT_EQ(runner.Run(c.names), c.status);
        EXPECT_NE(out.str().find(c.inLog), std::string::npos) << out.str();
        EXPECT_EQ(CountCalls(driver, "ibdev"), c.names.size());
        EXPECT_EQ(driver.calls.back().ToString(), "ibonl(0, 0)");
    }
}

TEST_F(BatchRunnerTest, RegistrationFailureEndsTheRunWithoutAnotherDriverCall) {
    driver_.SetRegistrationResult(3);
    EXPECT_EQ(Run({"ch-power", "obw"}), 3);
    EXPECT_EQ(out_.str(), "");
    EXPECT_NE(err_.str().find("Unable to register GPIB thread globals. Quitting the Program!"),
              std::string::npos);
    EXPECT_EQ(driver_.Transcript(), (std::vector<std::string>{"RegisterGpibGlobalsForThread()",
                                                              "UnregisterGpibGlobalsForThread()"}));
}

TEST_F(BatchRunnerTest, MissingDriverLibraryIsARegistrationFailure) {
    const DriverFactory missing = [] {
        return DriverLoad{nullptr, "libgpib.so.0: cannot open shared object file"};
    };
    EXPECT_EQ(Run({"sem"}, missing), 3);
    EXPECT_EQ(out_.str(), "");
    EXPECT_NE(err_.str().find("libgpib.so.0: cannot open shared object file"), std::string::npos);
}

TEST_F(BatchRunnerTest, UnknownNameRunsNothing) {
    EXPECT_EQ(Run({"obw", "nonsense"}), 2);
    EXPECT_TRUE(driver_.calls.empty());
    EXPECT_EQ(out_.str(), "");
    EXPECT_NE(err_.str().find("usage: kelvane"), std::string::npos);
}

}  // namespace
}  // namespace kelvane
