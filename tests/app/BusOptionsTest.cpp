// --bus, KELVANE_BUS and --trace, the caption, and batch runs over a stand-in adapter.

#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/BatchRunner.h"
#include "app/CommandLine.h"
#include "app/ExitStatus.h"
#include "app/WindowCaption.h"
#include "app/bus/DriverChoice.h"
#include "measurements/MeasurementCatalog.h"
#include "platform/SteadyClock.h"
#include "platform/SystemFeatures.h"
#include "tests/measurements/ScriptedRuns.h"
#include "tests/support/StandInAdapter.h"

namespace kelvane {
namespace {

using testing::AdapterEmulator;
using testing::ScriptedDriver;
using testing::StandInAdapter;

// The action, the bus as named in messages and as given, the trace file, or the error.
std::string Parse(const std::vector<std::string>& arguments, const char* variable = nullptr) {
    const CommandLine parsed(arguments, variable);
    if (!parsed.Error().empty()) return "usage: " + parsed.Error();
    std::string text = parsed.Simulate() ? "simulate" : parsed.Bus().Name();
    if (parsed.Bus().text != parsed.Bus().Name()) text += " (" + parsed.Bus().text + ")";
    if (!parsed.TracePath().empty()) text += " trace " + parsed.TracePath();
    return text;
}

TEST(BusOptionsTest, CommandLineAndEnvironment) {
    const std::string forms = std::string("; use ") + BusForms();
    const struct {
        std::vector<std::string> arguments;
        const char* variable;
        std::string parse;
    } cases[]{
        {{}, nullptr, "gpib"},
        {{"--bus", "gpib"}, nullptr, "gpib"},
        {{"--bus", "lan:192.0.2.7"}, nullptr, "lan:192.0.2.7:1234 (lan:192.0.2.7)"},
        {{"--bus=lan:fixture-7.local:80"}, nullptr, "lan:fixture-7.local:80"},
        {{"--bus", "lan:[::1]:99"}, nullptr, "lan:[::1]:99"},
        {{"--bus", "lan:fe80::1"}, nullptr, "lan:[fe80::1]:1234 (lan:fe80::1)"},
        {{"--bus", "usb:/dev/ttyUSB0"}, nullptr, "usb:/dev/ttyUSB0"},
        {{"--bus", "foo"}, nullptr, "usage: bad bus 'foo' (--bus)" + forms},
        {{"--bus", "lan:"}, nullptr, "usage: bad bus 'lan:' (--bus)" + forms},
        {{"--bus", "lan:h:"}, nullptr, "usage: bad bus 'lan:h:' (--bus)" + forms},
        {{"--bus", "lan:h:0"}, nullptr, "usage: bad bus 'lan:h:0' (--bus)" + forms},
        {{"--bus", "lan:h:65536"}, nullptr, "usage: bad bus 'lan:h:65536' (--bus)" + forms},
        {{"--bus", "lan:h:1x"}, nullptr, "usage: bad bus 'lan:h:1x' (--bus)" + forms},
        {{"--bus", "usb:"}, nullptr, "usage: bad bus 'usb:' (--bus)" + forms},
        {{"--bus", "LAN:h"}, nullptr, "usage: bad bus 'LAN:h' (--bus)" + forms},
        {{"--bus"}, nullptr, "usage: --bus needs a bus"},
        {{}, "usb:/dev/ttyACM0", "usb:/dev/ttyACM0"},
        {{}, "", "gpib"},
        {{"--bus", "gpib"}, "bad", "gpib"},
        {{"--bus", "lan:h"}, "usb:/dev/x", "lan:h:1234 (lan:h)"},
        {{}, "lan:", "usage: bad bus 'lan:' (KELVANE_BUS)" + forms},
        {{"--simulate"}, "lan:h", "simulate"},
        {{"--simulate", "--bus", "lan:h"},
         nullptr,
         "usage: --simulate and --bus lan:h exclude each other"},
        {{"--trace", "bus.txt", "--measure", "obw"}, nullptr, "gpib trace bus.txt"},
        {{"--trace=t", "--simulate"}, nullptr, "simulate trace t"},
        {{"--trace="}, nullptr, "usage: --trace needs a file name"},
        {{"--measure", "obw", "--trace"}, nullptr, "usage: --trace needs a file name"},
    };
    for (const auto& [arguments, variable, parse] : cases) {
        std::string shown;
        for (const auto& argument : arguments) shown += argument + " ";
        const bool adapter = parse.starts_with("lan:") || parse.starts_with("usb:");
        if (adapter && !kAdapterStreamsAvailable) {
            // A build without the adapters' streams refuses them at once.
            EXPECT_NE(Parse(arguments, variable).find("adapters are not available in this build"),
                      std::string::npos)
                << shown;
            continue;
        }
        EXPECT_EQ(Parse(arguments, variable), parse) << shown << (variable ? variable : "");
    }
}

TEST(BusOptionsTest, CaptionNamesTheBusUnlessItIsTheGpibLibrary) {
    const struct {
        bool simulated;
        std::string bus, caption;
    } cases[]{
        {false, "gpib", "Kelvane (V1.2)"},
        {true, "gpib", "Kelvane (V1.2) [simulated analyzer]"},
        {false, "lan:192.0.2.7", "Kelvane (V1.2) [lan:192.0.2.7]"},
        {false, "usb:/dev/ttyUSB0", "Kelvane (V1.2) [usb:/dev/ttyUSB0]"},
    };
    for (const auto& [simulated, bus, caption] : cases)
        EXPECT_EQ(WindowCaption(simulated, bus), caption) << bus;
}

#ifndef _WIN32  // over real connections: sockets and serial ports

// The seven golden scripts as one analyzer that answers the whole "all" run.
testing::runs::Script AllScripts() {
    testing::runs::Script all;
    for (const auto& golden : testing::runs::GoldenRuns())
        for (const auto& [query, reads] : golden.script)
            all[query].insert(all[query].end(), reads.begin(), reads.end());
    return all;
}

void Load(ScriptedDriver& analyzer, const testing::runs::Script& script) {
    for (const auto& [query, reads] : script) analyzer.Reply(query, reads);
}

struct Batch {
    int status;
    std::string out, err;
};

Batch RunAll(DriverFactory factory, Clock& clock) {
    std::ostringstream out, err;
    BatchRunner runner(std::move(factory), clock, out, err);
    std::vector<const CatalogEntry*> all;
    for (const auto& entry : MeasurementCatalog()) all.push_back(&entry);
    const int status = runner.Run(all);
    return {status, out.str(), err.str()};
}

TEST(BusOptionsTest, AllMeasurementsOverAStandInAdapterLogAsOverTheScriptedDriver) {
    VirtualClock virtualClock;
    auto scripted = std::make_unique<ScriptedDriver>();
    Load(*scripted, AllScripts());
    const Batch expected = RunAll(testing::HandOver(std::move(scripted)), virtualClock);
    // The scripted answers are good replies, but not all of them pass their limits.
    ASSERT_EQ(expected.status, kExitLimitFailed) << expected.out;

    for (const auto transport : {StandInAdapter::Transport::Tcp, StandInAdapter::Transport::Pty}) {
        ScriptedDriver analyzer;
        Load(analyzer, AllScripts());
        AdapterEmulator::Options options;
        if (transport == StandInAdapter::Transport::Pty) options.kind = AdapterKind::Usb;
        AdapterEmulator emulator(analyzer, options);
        StandInAdapter standIn(emulator, transport);
        DriverSetup setup{false, *ParseBus(standIn.Bus()), nullptr};
        SteadyClock clock;
        const Batch got = RunAll(MakeDriverFactory(setup, clock), clock);
        standIn.Stop();
        EXPECT_EQ(got.status, expected.status) << standIn.Bus();
        EXPECT_EQ(got.out, expected.out) << standIn.Bus();
        EXPECT_EQ(got.err, expected.err);
        EXPECT_TRUE(emulator.Violations().empty()) << emulator.Violations().front();
    }
}

// The failure line says which adapter could not be reached and why, with no board advice; the
// measurements after it are not attempted.
TEST(BusOptionsTest, AnAdapterThatCannotBeReachedFailsEachMeasurementAndSaysWhy) {
    DriverSetup setup{false, *ParseBus("usb:/nonexistent/ttyUSB9"), nullptr};
    SteadyClock clock;
    const Batch got = RunAll(MakeDriverFactory(setup, clock), clock);
    EXPECT_EQ(got.status, 1);
    const std::string failure =
        "CH Power Measurement failed: ibdev could not open the analyzer (driver error EDVR (0)): "
        "usb:/nonexistent/ttyUSB9: cannot open the serial port /nonexistent/ttyUSB9: No such "
        "file or directory\r\n";
    EXPECT_NE(got.out.find(failure), std::string::npos) << got.out;
    EXPECT_EQ(got.out.find("board"), std::string::npos);
    EXPECT_EQ(got.out.find("failed", got.out.find("failed") + 1), std::string::npos);
    EXPECT_EQ(got.err, "kelvane: ch-power: INCOMPLETE, " + failure.substr(0, failure.size() - 2) +
                           "\nkelvane: the bus could not be reached; the remaining 6 measurements "
                           "were not attempted.\n");
}

#endif

}  // namespace
}  // namespace kelvane
