#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "bus/SteadyClock.h"
#include "window/BatchRunner.h"
#include "window/CommandLine.h"
#include "window/DisplayCheck.h"
#include "window/DriverChoice.h"
#include "window/ExitStatus.h"
#include "window/StandardDescriptors.h"
#include "window/WindowProgram.h"

namespace {

// Writes text to standard output; a write that fails is reported, with status 4.
int PrintOut(const std::string& text) {
    errno = 0;
    std::cout << text << std::flush;
    if (std::cout) return kelvane::kExitCompleted;
    std::cerr << "kelvane: cannot write the log: "
              << (errno != 0 ? std::strerror(errno) : "the output stream failed") << '\n';
    return kelvane::kExitLogUnwritable;
}

}  // namespace

// Without --measure: the window. With --measure: the batch mode, which creates no
// QApplication and so runs without a display.
int main(int argc, char** argv) {
    using namespace kelvane;
    const bool outputClosed = SecureStandardDescriptors().output;
    const CommandLine commandLine(std::vector<std::string>(argv + 1, argv + argc));
    const auto action = commandLine.WhatToDo();
    const bool writesOutput = action == CommandLine::Action::Help ||
                              action == CommandLine::Action::Version ||
                              action == CommandLine::Action::Batch;
    if (outputClosed && writesOutput) {
        // Nothing is measured that could not be reported.
        std::cerr << "kelvane: cannot write the log: standard output is closed\n";
        return kExitLogUnwritable;
    }
    switch (action) {
    case CommandLine::Action::UsageError:
        std::cerr << "kelvane: " << commandLine.Error() << '\n' << CommandLine::UsageLine() << '\n';
        return kExitUsage;
    case CommandLine::Action::Help:
        return PrintOut(CommandLine::HelpText());
    case CommandLine::Action::Version:
        return PrintOut(std::string("kelvane ") + KELVANE_VERSION + "\n");
    case CommandLine::Action::Batch: {
        SteadyClock clock;
        BatchRunner runner(MakeDriverFactory(commandLine.Simulate(), clock), clock, std::cout,
                           std::cerr);
        return runner.Run(commandLine.Measurements());
    }
    case CommandLine::Action::Window:
        break;
    }
    if (!DisplayAvailable([](const char* name) { return std::getenv(name); })) {
        std::cerr << NoDisplayMessage();
        return kExitUsage;
    }
    return WindowProgram::Run(argc, argv, commandLine.Simulate());
}
