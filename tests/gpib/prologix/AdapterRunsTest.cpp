// The seven measurements through the adapter driver and a stand-in adapter, on a virtual clock
// and over a real TCP socket and pseudo-terminal: their whole runs must be those over the
// scripted driver, with good answers and in the fault cases.

#include <algorithm>
#include <chrono>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/gpib/prologix/AdapterRunFixture.h"

namespace kelvane::testing {
namespace {

using runs::Golden;
using runs::GoldenRuns;
using runs::Lines;
using runs::RunFixture;
using Link = AdapterRunFixture::Link;

class AdapterGoldenTest : public ::testing::TestWithParam<std::tuple<Golden, Link>> {};

TEST_P(AdapterGoldenTest, RunsAsOverTheScriptedDriver) {
    const auto& [golden, link] = GetParam();
    AdapterRunFixture fixture(golden.script, link);
    EXPECT_EQ(fixture.Run(golden.name), MeasurementOutcome::Completed);
    EXPECT_EQ(fixture.timeline, golden.run);
    EXPECT_TRUE(fixture.Violations().empty()) << fixture.Violations().front();
    EXPECT_TRUE(fixture.problems.empty()) << fixture.problems.front();
}

std::string LinkName(Link link) {
    return link == Link::Virtual ? "Virtual" : link == Link::Tcp ? "Tcp" : "Pty";
}

INSTANTIATE_TEST_SUITE_P(Seven, AdapterGoldenTest,
                         ::testing::Combine(::testing::ValuesIn(GoldenRuns()),
#ifndef _WIN32
                                            ::testing::Values(Link::Virtual, Link::Tcp, Link::Pty)),
#else
                                            // No sockets or pseudo-terminals for the stand-in.
                                            ::testing::Values(Link::Virtual)),
#endif
                         [](const auto& info) {
                             std::string name =
                                 std::get<0>(info.param).name + LinkName(std::get<1>(info.param));
                             std::erase(name, '-');
                             return name;
                         });

const Golden& Find(const std::string& name) {
    for (const auto& golden : GoldenRuns())
        if (golden.name == name) return golden;
    throw std::invalid_argument("no golden run " + name);
}
const Golden& ChPower() { return GoldenRuns().front(); }

// The scripted driver's run of a measurement with `adjust` applied to its driver.
Lines ScriptedRun(const runs::Script& script, const std::function<void(ScriptedDriver&)>& adjust,
                  const std::string& name = "ch-power") {
    RunFixture fixture(script);
    adjust(fixture.driver);
    fixture.Run(name);
    return fixture.timeline;
}

#ifndef _WIN32
// The run with its failure line replaced: the adapter driver has its own words on a failure,
// which a scripted driver lacks.
Lines WithFailure(Lines run, const std::string& failure) {
    for (auto& entry : run)
        if (entry.find(" failed: ") != std::string::npos) entry = "log: " + failure + "\r\n";
    return run;
}
#endif

std::vector<Link> Links() {
#ifndef _WIN32
    return {Link::Virtual, Link::Tcp, Link::Pty};
#else
    return {Link::Virtual};
#endif
}

TEST(AdapterFaultTest, AnAnswerThatNeverComesTimesOutAsOnAGpibBoard) {
    runs::Script script = ChPower().script;
    script["PWCH?"] = {runs::kSilent};
    AdapterRunFixture fixture(script, Link::Virtual);
    fixture.Run("ch-power");
    EXPECT_EQ(fixture.timeline, ScriptedRun(script, [](ScriptedDriver&) {}));
    EXPECT_TRUE(fixture.Violations().empty());
}

TEST(AdapterFaultTest, ARecordLongerThanTheReadFailsAsOverTheScriptedDriver) {
    // The adapter passes the whole record on; the driver delivers 200 bytes without END, and
    // the closing commands drop the rest.
    runs::Script script = Find("sem").script;
    script["SEM?"].front() = runs::kSemRecords.front().first + std::string(180, ' ') + "\r\n";
    const Lines scripted = ScriptedRun(
        script, [](ScriptedDriver&) {}, "sem");
    ASSERT_TRUE(std::any_of(scripted.begin(), scripted.end(), [](const std::string& line) {
        return line.find("was longer than 200 bytes") != std::string::npos;
    }));
    for (const Link link : Links()) {
        AdapterRunFixture fixture(script, link);
        EXPECT_EQ(fixture.Run("sem"), MeasurementOutcome::Failed) << LinkName(link);
        EXPECT_EQ(fixture.timeline, scripted) << LinkName(link);
        EXPECT_TRUE(fixture.Violations().empty()) << LinkName(link);
        EXPECT_TRUE(fixture.problems.empty()) << LinkName(link);
    }
}

// A session's whole transcript with a command that holds every byte the adapter would take for
// a line end or its own command: over the stand-in as over the scripted driver, and the
// analyzer gets the command as written.
TEST(AdapterFaultTest, EscapedBytesInACommandRunAsOverTheScriptedDriver) {
    const std::string command("SEMTIN +1MZ\r\n++ver;\x1b+\0END", 25);
    const runs::Script script{{command, {"7\r\n"}}};
    const auto talk = [&](AnalyzerSession& session) {
        session.OpenAnalyzer();
        session.SendCommand(command);
        std::string buffer(10, '\0');
        const ReplyRead read = session.ReadReply(buffer);
        session.SendCommand("SI");
        session.CloseAnalyzer();
        return read.Good();
    };
    RunFixture scripted(script);
    ASSERT_TRUE(talk(scripted.session));
    for (const Link link : Links()) {
        AdapterRunFixture fixture(script, link);
        EXPECT_TRUE(talk(fixture.session)) << LinkName(link);
        EXPECT_EQ(fixture.timeline, scripted.timeline) << LinkName(link);
        EXPECT_TRUE(fixture.Violations().empty()) << LinkName(link);  // the stand-in stops
        EXPECT_EQ(fixture.analyzer.Writes(), (std::vector<std::string>{command, "SI"}))
            << LinkName(link);
    }
}

#ifndef _WIN32  // over real connections: sockets
TEST(AdapterFaultTest, ARefusedConnectionFailsIbdevWithHostPortAndReason) {
    AdapterRunFixture fixture(ChPower().script, Link::Closed);
    EXPECT_EQ(fixture.Run("ch-power"), MeasurementOutcome::Failed);
    const std::string port = std::to_string(fixture.port);
    const std::string problem =
        "stand-in: cannot connect to 127.0.0.1 port " + port + ": Connection refused";
    EXPECT_EQ(fixture.problems, std::vector<std::string>{problem});
    // The adapter's reason, not the advice for a GPIB board that is not set up.
    EXPECT_EQ(fixture.timeline,
              WithFailure(ScriptedRun(ChPower().script,
                                      [](ScriptedDriver& driver) { driver.FailIbdev(kErrorEdvr); }),
                          "CH Power Measurement failed: ibdev could not open the analyzer (driver "
                          "error EDVR (0)): " +
                              problem));
}

TEST(AdapterFaultTest, ADroppedConnectionEndsTheSessionAndTheNextOneConnectsAfresh) {
    AdapterEmulator::Options options;
    options.dropAt = "PWCH?";
    runs::Script script = ChPower().script;
    script["*STB?"].push_back("128");  // the "PWCH?" answer is left for the second run too
    AdapterRunFixture fixture(script, Link::Tcp, options);
    fixture.Run("ch-power");
    // As a driver whose read fails and which then takes no more writes.
    runs::Script scripted = ChPower().script;
    scripted.erase("PWCH?");
    ASSERT_EQ(fixture.problems.size(), 1u);
    EXPECT_NE(fixture.problems[0].find("connection to the adapter lost"), std::string::npos);
    EXPECT_EQ(fixture.timeline,
              WithFailure(ScriptedRun(scripted,
                                      [](ScriptedDriver& driver) {
                                          driver.ReplyRead("PWCH?", {"", kStatusErr, kErrorEdvr});
                                          driver.FailWrite("PMEASOFF", kErrorEdvr);
                                      }),
                          "CH Power Measurement failed: \"PWCH?\" answer did not arrive (driver "
                          "error EDVR (0): " +
                              fixture.problems[0] + ")"));

    fixture.timeline.clear();
    EXPECT_EQ(fixture.Run("ch-power"), MeasurementOutcome::Completed);
    Lines again = ChPower().run;
    again.erase(again.begin());  // registered once only
    EXPECT_EQ(fixture.timeline, again);
    EXPECT_TRUE(fixture.Violations().empty());
}
#endif

#ifndef _WIN32
TEST(AdapterFaultTest, AHostNameLookupEndsWithinTheTimeOut) {
    // Whether the resolver answers at once or never, ibdev must not wait longer.
    const auto start = std::chrono::steady_clock::now();
    const StreamOpen open =
        OpenTcpStream("no-such-adapter.kelvane.invalid", 1234, std::chrono::seconds(2));
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_LT(took, std::chrono::milliseconds(2500));
    EXPECT_EQ(open.stream, nullptr);
    EXPECT_TRUE(open.failure.starts_with(
        "cannot resolve the host name \"no-such-adapter.kelvane.invalid\""))
        << open.failure;
}
#endif

}  // namespace
}  // namespace kelvane::testing
