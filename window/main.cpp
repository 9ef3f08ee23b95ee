#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "bus/SteadyClock.h"
#include "window/BatchRunner.h"
#include "window/CommandLine.h"
#include "window/ConsoleOutput.h"
#include "window/DisplayCheck.h"
#include "window/DriverChoice.h"
#include "window/ExitStatus.h"
#include "window/ProgramArguments.h"
#ifdef KELVANE_HAS_WINDOW
#include "window/WindowProgram.h"
#endif

// Without --measure: the window (in a build that has one). With --measure: the batch mode,
// which creates no QApplication and so runs without a display.
int main(int argc, char** argv) {
    using namespace kelvane;
    UseBinaryStandardOutput();
    const CommandLine commandLine(ProgramArguments(argc, argv));
    switch (commandLine.WhatToDo()) {
    case CommandLine::Action::UsageError:
        std::cerr << "kelvane: " << commandLine.Error() << '\n' << CommandLine::UsageLine() << '\n';
        return kExitUsage;
    case CommandLine::Action::Help:
        std::cout << CommandLine::HelpText() << std::flush;
        return kExitCompleted;
    case CommandLine::Action::Version:
        std::cout << "kelvane " << KELVANE_VERSION << '\n' << std::flush;
        return kExitCompleted;
    case CommandLine::Action::Batch: {
        SteadyClock clock;
        BatchRunner runner(MakeDriverFactory(commandLine.Simulate(), clock), clock, std::cout,
                           std::cerr);
        return runner.Run(commandLine.Measurements());
    }
    case CommandLine::Action::Window:
        break;
    }
#ifndef KELVANE_HAS_WINDOW
    std::cerr << "kelvane: this build has no window; the measurements run in batch mode, "
                 "e.g.\n  kelvane --simulate --measure all\n";
    return kExitUsage;
#else
#ifndef _WIN32
    // The Windows desktop is always there; elsewhere the window needs a display server.
    if (!DisplayAvailable([](const char* name) { return std::getenv(name); })) {
        std::cerr << NoDisplayMessage();
        return kExitUsage;
    }
#endif
    return WindowProgram::Run(argc, argv, commandLine.Simulate());
#endif
}
