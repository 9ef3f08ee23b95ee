#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "window/CommandLine.h"
#include "window/DisplayCheck.h"

namespace kelvane {
namespace {

using Action = CommandLine::Action;

const std::vector<std::string> kAllSeven{
    "ch-power", "obw", "acp", "sem", "sem-11a", "sem-11b", "total-power-11b"};

struct ParseCase {
    std::vector<std::string> arguments;
    Action action;
    bool simulate;
    std::vector<std::string> measurements;
    std::string error;  // part of the message, for usage errors
};

std::vector<std::string> Concat(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST(CommandLineTest, ParsesEachForm) {
    const std::vector<ParseCase> cases{
        {{}, Action::Window, false, {}, ""},
        {{"--simulate"}, Action::Window, true, {}, ""},
        {{"--measure", "obw"}, Action::Batch, false, {"obw"}, ""},
        {{"--measure", "acp", "--measure=sem"}, Action::Batch, false, {"acp", "sem"}, ""},
        {{"--simulate", "--measure", "all"}, Action::Batch, true, kAllSeven, ""},
        {{"--measure", "all", "--simulate"}, Action::Batch, true, kAllSeven, ""},
        {{"--measure", "obw", "--measure", "all"},
         Action::Batch,
         false,
         Concat({"obw"}, kAllSeven),
         ""},
        {{"--measure", "obw", "--measure", "obw"}, Action::Batch, false, {"obw", "obw"}, ""},
        {{"--help"}, Action::Help, false, {}, ""},
        {{"-h", "--measure", "obw"}, Action::Help, false, {}, ""},
        {{"--version"}, Action::Version, false, {}, ""},
        {{"--measure", "foo"}, Action::UsageError, false, {}, "unknown measurement 'foo'"},
        {{"--measure", "ALL"}, Action::UsageError, false, {}, "unknown measurement 'ALL'"},
        {{"--measure", "obw", "--measure"}, Action::UsageError, false, {}, "needs a measurement"},
        {{"--measure="}, Action::UsageError, false, {}, "unknown measurement ''"},
        {{"--frobnicate"}, Action::UsageError, false, {}, "unknown option '--frobnicate'"},
        {{"obw"}, Action::UsageError, false, {}, "unexpected argument 'obw'"},
        {{"--help", "--bogus"}, Action::UsageError, false, {}, "unknown option '--bogus'"},
        {{"--bogus", "--measure", "foo"}, Action::UsageError, false, {}, "'--bogus'"},
    };
    for (const auto& c : cases) {
        std::string joined;
        for (const auto& a : c.arguments) joined += a + " ";
        SCOPED_TRACE("arguments: " + joined);
        const CommandLine commandLine(c.arguments);
        EXPECT_EQ(commandLine.WhatToDo(), c.action);
        if (c.action == Action::UsageError) {
            EXPECT_NE(commandLine.Error().find(c.error), std::string::npos) << commandLine.Error();
            EXPECT_TRUE(commandLine.Measurements().empty());
            continue;
        }
        EXPECT_EQ(commandLine.Simulate(), c.simulate);
        if (c.action == Action::Batch || c.action == Action::Window) {
            EXPECT_EQ(commandLine.Measurements(), c.measurements);
        }
        EXPECT_TRUE(commandLine.Error().empty());
    }
}

TEST(CommandLineTest, UsageIsOneLineAndHelpNamesEveryMeasurement) {
    EXPECT_EQ(CommandLine::UsageLine().find('\n'), std::string::npos);
    const std::string help = CommandLine::HelpText();
    EXPECT_EQ(help.rfind(CommandLine::UsageLine(), 0), 0u);
    for (const auto& name : Concat(kAllSeven, {"all", "--simulate", "--measure", "--version"})) {
        EXPECT_NE(help.find(name), std::string::npos) << name;
    }
    EXPECT_EQ(help.back(), '\n');
}

TEST(DisplayCheckTest, NeedsADisplayOrAnExplicitPlatform) {
    struct Case {
        std::map<std::string, std::string> environment;
        bool available;
    };
    const std::vector<Case> cases{
        {{}, false},
        {{{"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}}, false},
        {{{"HOME", "/root"}}, false},
        {{{"DISPLAY", ":0"}}, true},
        {{{"WAYLAND_DISPLAY", "wayland-0"}}, true},
        {{{"QT_QPA_PLATFORM", "offscreen"}}, true},
    };
    for (const auto& c : cases) {
        const auto lookup = [&c](const char* name) -> const char* {
            const auto found = c.environment.find(name);
            return found == c.environment.end() ? nullptr : found->second.c_str();
        };
        EXPECT_EQ(DisplayAvailable(lookup), c.available) << c.environment.size();
    }
    EXPECT_NE(NoDisplayMessage().find("--simulate --measure all"), std::string::npos);
}

}  // namespace
}  // namespace kelvane
