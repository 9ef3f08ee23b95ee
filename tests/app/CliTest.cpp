#include <map>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "app/BatchRunner.h"
#include "app/CommandLine.h"
#include "app/ExitStatus.h"
#include "measurements/MeasurementCatalog.h"
#include "platform/DisplayCheck.h"
#include "platform/HostName.h"
#include "tests/support/ScriptedDriver.h"

namespace kelvane {
namespace {

using testing::ScriptedDriver;

const std::string kAll = " ch-power obw acp sem sem-11a sem-11b total-power-11b";

// The parse of the blank-separated arguments in one line: the action, "simulate", then the
// measurements or the error.
std::string Parse(const std::string& arguments) {
    std::istringstream in(arguments);
    std::vector<std::string> split;
    for (std::string argument; in >> argument;) split.push_back(argument);
    const CommandLine parsed(split);
    const char* actions[]{"window", "batch", "help", "version", "usage"};
    std::string text = actions[static_cast<int>(parsed.WhatToDo())];
    if (parsed.Simulate()) text += " simulate";
    for (const CatalogEntry* entry : parsed.Measurements()) text += " " + std::string(entry->name);
    return parsed.Error().empty() ? text : text + ": " + parsed.Error();
}

TEST(CliTest, CommandLine) {
    const std::pair<std::string, std::string> cases[]{
        {"", "window"},
        {"--simulate", "window simulate"},
        {"--measure acp --measure=sem --measure acp", "batch acp sem acp"},
        {"--measure all --simulate", "batch simulate" + kAll},
        {"--measure sem --measure all", "batch sem" + kAll},
        {"-h --measure obw --version", "help obw"},
        {"--version", "version"},
        {"--measure ALL", "usage: unknown measurement 'ALL'"},
        {"--measure obw --measure", "usage: --measure needs a measurement name"},
        {"--measure=", "usage: unknown measurement ''"},
        {"obw", "usage: unexpected argument 'obw'"},
        {"--help --simulate --bogus --measure foo", "usage simulate: unknown option '--bogus'"},
        // An option is no file name: nothing called "--help" is written.
        {"--results --help", "usage: --results needs a file name"},
        {"--trace --measure obw", "usage: --trace needs a file name"},
        {"--charts --charts-png --measure obw", "usage: --charts needs a folder"},
        {"--charts-png --measure obw",
         "usage: --charts-png adds PNG pictures to --charts FOLDER; name the folder"},
        {"--charts pictures",
         "usage: --charts writes the charts of a batch run; name the "
         "measurements with --measure"},
        {"--repeat 3",
         "usage: --repeat runs the measurements named with --measure; name at least "
         "one"},
        {"--repeat 3 --measure obw --charts pictures --results r.csv", "batch obw"},
        // What the operator typed is shown, its control characters escaped, on one line.
        {"--bogus\x1b[2J", "usage: unknown option '--bogus\\x1b[2J'"},
        {"--measure obw\a", "usage: unknown measurement 'obw\\x07'"},
    };
    for (const auto& [arguments, parse] : cases) EXPECT_EQ(Parse(arguments), parse) << arguments;
}

// Whose measurements they are: as given, the station this computer unless given.
TEST(CliTest, TheRecordsOrigin) {
    ASSERT_FALSE(HostName().empty());
    const std::pair<std::vector<std::string>, RecordOrigin> cases[]{
        {{}, {"", "", HostName()}},
        {{"--dut", "SN 42", "--operator=Ann Other", "--station", "bench 3", "--measure", "obw"},
         {"SN 42", "Ann Other", "bench 3"}},
    };
    for (const auto& [arguments, origin] : cases) {
        const CommandLine parsed(arguments);
        EXPECT_EQ(parsed.Error(), "");
        EXPECT_EQ(parsed.Origin(), origin) << origin.dut;
    }
}

// Exit status, standard output, standard error and the last two driver calls.
using BatchRun = std::tuple<int, std::string, std::string, std::vector<std::string>>;
const std::vector<std::string> kClosed{"ibonl(16, 0)", "ibonl(0, 0)"};  // a session's end

// Runs the measurements with these batch names against an analyzer that answers "*STB?" with `stb`,
// "PWCH?" and maybe "PWTOTAL?", whose registration gives `registration`; or against a library that
// fails with `loadFailure`.
// A stream whose writes fail after `room` bytes, as a full disk or a closed pipe does.
class FullBuffer : public std::streambuf {
public:
    explicit FullBuffer(std::size_t room) : room_(room) {}
    std::string written;

protected:
    int_type overflow(int_type c) override {
        if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
        if (written.size() >= room_) return traits_type::eof();
        written += traits_type::to_char_type(c);
        return c;
    }

private:
    std::size_t room_;
};

BatchRun Batch(const std::vector<std::string>& names, const char* stb = "128",
               bool totalPower = true, int registration = 0, std::string loadFailure = "",
               std::int32_t ibdevError = -1, std::size_t outputRoom = std::string::npos) {
    VirtualClock clock;
    auto owned = std::make_unique<ScriptedDriver>();
    ScriptedDriver& driver = *owned;
    driver.AttachClock(&clock);
    if (*stb != '\0') driver.ReplyAlways("*STB?", stb);
    driver.Reply("PWCH?", {"-10.2"});
    if (totalPower) driver.Reply("PWTOTAL?", {"-12.5"});
    driver.SetRegistrationResult(registration);
    if (ibdevError >= 0) driver.FailIbdev(ibdevError);
    const DriverFactory missing = [loadFailure] { return DriverLoad{nullptr, loadFailure}; };
    FullBuffer output(outputRoom);
    std::ostream out(&output);
    std::ostringstream err;
    BatchRunner runner(loadFailure.empty() ? testing::HandOver(std::move(owned)) : missing, clock,
                       out, err);
    std::vector<const CatalogEntry*> measurements;
    for (const auto& name : names) {
        measurements.push_back(FindMeasurement(name));
        EXPECT_NE(measurements.back(), nullptr) << name;
    }
    const int status = runner.Run(measurements);
    auto calls = driver.Transcript();
    if (calls.size() > 2) calls.erase(calls.begin(), calls.end() - 2);
    return {status, output.written, err.str(), calls};
}

TEST(BatchRunnerTest, ExitStatusAndOutput) {
    const std::string title = "\r\nCH Power Measurement...\r\n";
    const std::string power = title + "ChPower = -10.20dBm\r\n";
    const std::string total = title + "ChPower = -12.50dBm\r\n";
    const std::string late =
        "Warning: the analyzer did not report the end of the measurement within 10 s.\r\n";
    const std::string check = "check that the analyzer is on, at GPIB address 8, and cabled\r\n";
    const std::string noTotal =
        title + "CH Power Measurement failed: no answer to \"PWTOTAL?\" within 10 s: " + check;
    const std::string noStatus =
        title + "CH Power Measurement failed: no answer to \"*STB?\" within 10 s: " + check;
    const std::string silent = "kelvane: the analyzer did not answer; the remaining ";
    const std::string unregistered =
        "kelvane: Unable to register GPIB thread globals. Quitting the Program!\n";
    const std::vector<std::string> registration{"RegisterGpibGlobalsForThread()",
                                                "UnregisterGpibGlobalsForThread()"};
    // Each measurement that did not pass is named on standard error, with why.
    const auto incomplete = [&title](const std::string& name, const std::string& logged) {
        std::string why = logged.substr(logged.starts_with(title) ? title.size() : 0);
        why.resize(why.size() - 2);  // CR LF
        return "kelvane: " + name + ": INCOMPLETE, " + why + "\n";
    };
    EXPECT_EQ(Batch({"ch-power", "total-power-11b"}), BatchRun(0, power + total, "", kClosed));
    EXPECT_EQ(Batch({"ch-power"}, "0"),
              BatchRun(1, power + late, incomplete("ch-power", late), kClosed));
    // An analyzer that does not answer its first read costs one time-out, not one per
    // measurement.
    EXPECT_EQ(Batch({"total-power-11b", "ch-power"}, "128", false),
              BatchRun(1, noTotal,
                       incomplete("total-power-11b", noTotal) + silent +
                           "1 measurement was not attempted.\n",
                       kClosed));
    EXPECT_EQ(
        Batch({"ch-power", "obw", "acp"}, ""),
        BatchRun(1, noStatus,
                 incomplete("ch-power", noStatus) + silent + "2 measurements were not attempted.\n",
                 kClosed));
    EXPECT_EQ(
        Batch({"ch-power", "total-power-11b"}, "", true),
        BatchRun(1, noStatus,
                 incomplete("ch-power", noStatus) + silent + "1 measurement was not attempted.\n",
                 kClosed));
    // One that answered its first read is there: a later silence costs only its measurement.
    const std::string noPower =
        title + "CH Power Measurement failed: no answer to \"PWCH?\" within 10 s: " + check;
    EXPECT_EQ(Batch({"ch-power", "ch-power", "total-power-11b"}),
              BatchRun(1, power + noPower + total, incomplete("ch-power", noPower), kClosed));
    EXPECT_EQ(Batch({"ch-power", "obw"}, "128", true, 3),
              BatchRun(3, "", unregistered, registration));
    EXPECT_EQ(Batch({"sem"}, "128", true, 0, "no libgpib.so.0"),
              BatchRun(3, "", unregistered + "no libgpib.so.0\n", {}));

    // A board that is not set up fails every session alike: the rest are not attempted.
    const std::string noBoard = "CH Power Measurement failed: the PC's GPIB board 0 or its driver";
    const auto [status, out, err, calls] =
        Batch({"ch-power", "obw", "acp"}, "128", true, 0, "", kErrorEdvr);
    EXPECT_EQ(status, 1);
    EXPECT_EQ(out.substr(title.size(), noBoard.size()), noBoard);
    EXPECT_TRUE(err.starts_with("kelvane: ch-power: INCOMPLETE, " + noBoard)) << err;
    EXPECT_TRUE(
        err.ends_with("\nkelvane: the GPIB board is not set up; the remaining 2 "
                      "measurements were not attempted.\n"))
        << err;
    EXPECT_EQ(calls, (std::vector<std::string>{"ibdev(0, 8, 0, 13, 1, 0)", "ibonl(0, 0)"}));

    // A log that cannot be written is no success; the session in progress is still closed and
    // no measurement starts after it.
    const std::string full = "kelvane: cannot write the log: the output stream failed\n";
    EXPECT_EQ(Batch({"ch-power", "obw"}, "128", true, 0, "", -1, 10),
              BatchRun(4, title.substr(0, 10), full, kClosed));
}

TEST(DisplayCheckTest, OnlyServerlessPlatformsStandInForADisplay) {
    using Environment = std::map<std::string, std::string>;
    const std::pair<Environment, bool> cases[]{
        {{}, false},
        {{{"DISPLAY", ":0"}}, true},
        {{{"WAYLAND_DISPLAY", "wayland-0"}}, true},
        {{{"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}, {"QT_QPA_PLATFORM", ""}}, false},
        {{{"QT_QPA_PLATFORM", "offscreen"}}, true},
        {{{"QT_QPA_PLATFORM", "minimal"}}, true},
        {{{"QT_QPA_PLATFORM", "vnc:size=800x600"}}, true},
        {{{"QT_QPA_PLATFORM", "linuxfb:fb=/dev/fb1"}}, true},
        {{{"QT_QPA_PLATFORM", "eglfs"}}, true},
        {{{"QT_QPA_PLATFORM", "xcb"}}, false},
        {{{"QT_QPA_PLATFORM", "wayland"}}, false},
        {{{"QT_QPA_PLATFORM", "xcb:offscreen"}}, false},
        {{{"QT_QPA_PLATFORM", "offscreenx"}}, false},
        {{{"QT_QPA_PLATFORM", "Offscreen"}}, false},
        {{{"QT_QPA_PLATFORM", "wayland;xcb"}}, false},
        {{{"QT_QPA_PLATFORM", "xcb;offscreen"}}, true},
        {{{"QT_QPA_PLATFORM", "xcb"}, {"DISPLAY", ":1"}}, true},
    };
    for (const auto& [environment, available] : cases) {
        const auto lookup = [&environment](const char* name) -> const char* {
            const auto found = environment.find(name);
            return found == environment.end() ? nullptr : found->second.c_str();
        };
        std::string shown;
        for (const auto& [name, value] : environment) shown += name + "=" + value + " ";
        EXPECT_EQ(DisplayAvailable(lookup), available) << shown;
    }
}

}  // namespace
}  // namespace kelvane
