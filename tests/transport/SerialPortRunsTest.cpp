// The seven measurements back to back over a GPIB-USB adapter's serial port (a real
// pseudo-terminal), as "--measure all" runs them: one driver, one port that each measurement
// opens afresh. What one session wrote last must reach the analyzer although the next session
// opens the port right after. And closing the port waits for the output, but not for ever.

#ifndef _WIN32
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "analyzer/AnalyzerSession.h"
#include "analyzer/GpibBinding.h"
#include "gpib/prologix/AdapterDriver.h"
#include "platform/SteadyClock.h"
#include "tests/measurements/ScriptedRuns.h"
#include "tests/support/AdapterEmulator.h"
#include "tests/support/ScriptedDriver.h"
#include "tests/support/StandInAdapter.h"
#include "tests/support/VirtualClock.h"
#include "transport/SerialPortStream.h"

namespace kelvane::testing {
namespace {

using std::chrono::milliseconds;

// A queue that answers `answers` in turn, the last one for ever, and counts the questions.
struct ScriptedQueue {
    std::vector<int> answers;
    std::size_t asked = 0;
    int Next() { return answers[std::min(asked++, answers.size() - 1)]; }
};

// What the queue says, and how the wait ends: its answer and how long it took (the questions
// come every millisecond).
struct DrainCase {
    const char* name;
    std::vector<int> queued;
    bool sent;
    std::size_t asked;
    milliseconds took;
};

const DrainCase kDrainCases[]{
    {"empty", {0}, true, 1, milliseconds(0)},
    {"draining", {30, 12, 5, 0}, true, 4, milliseconds(3)},
    {"stuck", {5}, false, 3001, milliseconds(3000)},
    {"gone", {5, -1}, false, 2, milliseconds(1)},
};

TEST(SerialPortDrainTest, WaitsUntilTheQueueIsEmptyOrTheLimitHasPassed) {
    for (const DrainCase& c : kDrainCases) {
        ScriptedQueue queue{c.queued};
        VirtualClock clock;
        EXPECT_EQ(WaitUntilSent([&queue] { return queue.Next(); }, clock, kSerialDrainLimit),
                  c.sent)
            << c.name;
        EXPECT_EQ(queue.asked, c.asked) << c.name;
        EXPECT_EQ(clock.Now(), c.took) << c.name;
    }
}

#ifndef _WIN32  // pseudo-terminals

// What `fd` gives within `timeout`.
std::string ReadWithin(int fd, milliseconds timeout) {
    pollfd entry{fd, POLLIN, 0};
    if (::poll(&entry, 1, static_cast<int>(timeout.count())) <= 0 || (entry.revents & POLLIN) == 0)
        return {};
    char bytes[256];
    const ssize_t n = ::read(fd, bytes, sizeof bytes);
    return n > 0 ? std::string(bytes, static_cast<std::size_t>(n)) : std::string();
}

// A new session starts without the answers an earlier one left unread, and without taking
// back what that one wrote.
TEST(SerialPortRunsTest, OpeningDropsStaleInputButNotTheLastSessionsOutput) {
    int master = -1, slave = -1;
    char name[256] = {};
    termios raw{};
    ::cfmakeraw(&raw);
    ASSERT_EQ(::openpty(&master, &slave, name, &raw, nullptr), 0);
    ::close(slave);
    StreamOpen first = OpenSerialPortStream(name);
    ASSERT_NE(first.stream, nullptr) << first.failure;
    ASSERT_EQ(first.stream->Send("DETAA ON\n", milliseconds(100)), ByteStream::Result::Done);
    ASSERT_EQ(::write(master, "-1.5\r", 5), 5);  // the answer nobody reads
    first.stream.reset();

    StreamOpen second = OpenSerialPortStream(name);
    ASSERT_NE(second.stream, nullptr) << second.failure;
    std::string received;
    EXPECT_EQ(second.stream->Receive(received, milliseconds(20)), ByteStream::Result::TimedOut);
    EXPECT_EQ(received, "");
    EXPECT_EQ(ReadWithin(master, milliseconds(100)), "DETAA ON\n");
    second.stream.reset();
    ::close(master);
}

// Closing the port is what waits: on the port's own descriptor, while it is still open, for as
// long as the queue holds bytes and at most kSerialDrainLimit.
TEST(SerialPortRunsTest, ClosingWaitsUntilTheQueueIsEmptyOrTheLimitHasPassed) {
    for (const DrainCase& c : kDrainCases) {
        int master = -1, slave = -1;
        char name[256] = {};
        ASSERT_EQ(::openpty(&master, &slave, name, nullptr, nullptr), 0);
        ScriptedQueue queue{c.queued};
        bool portOpen = true;
        auto clock = std::make_unique<VirtualClock>();
        VirtualClock& time = *clock;
        milliseconds took{-1};  // the clock goes with the port; read at the last question
        SerialDrain drain{[&](int fd) {
                              portOpen = portOpen && ::fcntl(fd, F_GETFD) != -1;
                              took = std::chrono::duration_cast<milliseconds>(time.Now());
                              return queue.Next();
                          },
                          std::move(clock)};
        StreamOpen opened = OpenSerialPortStream(name, std::move(drain));
        ASSERT_NE(opened.stream, nullptr) << opened.failure;
        EXPECT_EQ(opened.stream->Send("++loc\n", milliseconds(100)), ByteStream::Result::Done);
        EXPECT_EQ(queue.asked, 0u) << c.name << ": asked before the close";
        opened.stream.reset();
        EXPECT_EQ(queue.asked, c.asked) << c.name;
        EXPECT_EQ(took, c.took) << c.name;
        EXPECT_TRUE(portOpen) << c.name;
        ::close(slave);
        ::close(master);
    }
}

// How long the slow stand-in leaves the bytes in the queue: far longer than the driver takes
// from its last write of one session to the open of the next.
constexpr milliseconds kReadPause{10};

AdapterEmulator::Options UsbOptions() {
    AdapterEmulator::Options options;
    options.kind = AdapterKind::Usb;
    return options;
}

// The seven over one adapter driver (as the program's binding loads it once) on the serial
// port of a stand-in GPIB-USB adapter that takes the bytes slowly.
struct SlowUsbFixture : LogSink {
    // The analyzer is scripted before the stand-in's thread starts to serve it.
    explicit SlowUsbFixture(const runs::Script& script) : scripted(Script(analyzer, script)) {}

    static bool Script(ScriptedDriver& analyzer, const runs::Script& script) {
        for (const auto& [query, reads] : script)
            for (const auto& read : reads) analyzer.ReplyRead(query, ScriptedDriver::Read{read});
        return true;
    }

    void AppendResult(const std::string&) override {}

    MeasurementOutcome Run(const std::string& name) {
        for (const auto& entry : MeasurementCatalog())
            if (entry.name == name) return entry.run(context).outcome;
        throw std::invalid_argument("no measurement " + name);
    }

    ScriptedDriver analyzer;
    bool scripted;
    AdapterEmulator emulator{analyzer, UsbOptions()};
    StandInAdapter standIn{emulator, kReadPause};
    SteadyClock clock;
    VirtualClock measurementClock;  // the waits between status polls take no time
    std::vector<std::string> problems;
    GpibBinding binding{[this] {
                            auto driver = std::make_unique<AdapterDriver>(
                                standIn.Bus(),
                                [device = standIn.Device()](std::chrono::nanoseconds) {
                                    return OpenSerialPortStream(device);
                                },
                                clock,
                                [this](AdapterDriver::NoticeKind kind, const std::string& text) {
                                    if (kind == AdapterDriver::NoticeKind::Problem)
                                        problems.push_back(text);
                                });
                            return DriverLoad{std::move(driver), {}};
                        },
                        [](const std::string&) {}};
    AnalyzerSession session{binding};
    MeasurementContext context{session, *this, measurementClock};
};

// The seven golden scripts as one analyzer that answers the whole run.
runs::Script AllScripts() {
    runs::Script all;
    for (const auto& golden : runs::GoldenRuns())
        for (const auto& [query, reads] : golden.script)
            all[query].insert(all[query].end(), reads.begin(), reads.end());
    return all;
}

// What the analyzer receives from the seven over the scripted driver, in order.
std::vector<std::string> ScriptedWrites() {
    std::vector<std::string> writes;
    for (const auto& golden : runs::GoldenRuns()) {
        runs::RunFixture fixture(golden.script);
        fixture.Run(golden.name);
        const auto some = fixture.driver.Writes();
        writes.insert(writes.end(), some.begin(), some.end());
    }
    return writes;
}

// The commands of `expected` that `arrived` lacks (as "#index text"), and what it has beyond
// them, taking `arrived` in order: what a lossy port makes of the transcript.
std::string Differences(const std::vector<std::string>& expected,
                        const std::vector<std::string>& arrived) {
    std::string text;
    std::size_t next = 0;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        if (next < arrived.size() && arrived[next] == expected[i])
            ++next;
        else
            text += "missing #" + std::to_string(i) + " " + expected[i] + "\n";
    }
    for (; next < arrived.size(); ++next) text += "unexpected " + arrived[next] + "\n";
    return text;
}

TEST(SerialPortRunsTest, BackToBackMeasurementsDeliverEveryCommandInOrder) {
    const std::vector<std::string> expected = ScriptedWrites();
    SlowUsbFixture fixture(AllScripts());
    for (const auto& golden : runs::GoldenRuns())
        EXPECT_EQ(fixture.Run(golden.name), MeasurementOutcome::Completed) << golden.name;
    fixture.standIn.Stop();  // serves what was sent before
    EXPECT_EQ(Differences(expected, fixture.analyzer.Writes()), "");
    EXPECT_TRUE(fixture.emulator.Violations().empty()) << fixture.emulator.Violations().front();
    EXPECT_TRUE(fixture.problems.empty()) << fixture.problems.front();
}

#endif

}  // namespace
}  // namespace kelvane::testing
