#include <cstdlib>
#include <ctime>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "bus/SteadyClock.h"
#include "bus/TraceFile.h"
#include "window/BatchRunner.h"
#include "window/CommandLine.h"
#include "window/DisplayCheck.h"
#include "window/DriverChoice.h"
#include "window/ExitStatus.h"
#include "window/WindowCaption.h"
#include "window/WindowProgram.h"

namespace {

// The trace's first line: what ran, on which bus, when (UTC).
std::string TraceHeader(const std::vector<std::string>& arguments) {
    char when[32] = "?";
    const std::time_t now = std::time(nullptr);
    // Read once, before any other thread exists.
    if (const std::tm* utc = std::gmtime(&now))
        std::strftime(when, sizeof when, "%Y-%m-%d %H:%M:%S", utc);
    std::string line = std::string("# kelvane ") + KELVANE_VERSION + " started " + when + " UTC:";
    for (const auto& argument : arguments) line += " " + argument;
    return line;
}

}  // namespace

// Without --measure: the window. With --measure: the batch mode, which creates no
// QApplication and so runs without a display.
int main(int argc, char** argv) {
    using namespace kelvane;
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const CommandLine commandLine(arguments, std::getenv("KELVANE_BUS"));
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
    case CommandLine::Action::Batch:
    case CommandLine::Action::Window:
        break;
    }
    SteadyClock clock;
    DriverSetup setup{commandLine.Simulate(), commandLine.Bus(), nullptr, {}};
    std::unique_ptr<TraceLog> trace;
    if (!commandLine.TracePath().empty()) {
        TraceFileOpen open = OpenTraceFile(commandLine.TracePath());
        if (!open.file) {
            std::cerr << "kelvane: cannot open the trace file \"" << commandLine.TracePath()
                      << "\": " << open.failure << '\n';
            return kExitUsage;
        }
        trace = std::make_unique<TraceLog>(std::move(open.file), clock);
        trace->Line(TraceHeader(arguments));
        setup.trace = trace.get();
    }
    if (commandLine.WhatToDo() == CommandLine::Action::Batch) {
        setup.reportProblem = [](const std::string& problem) {
            std::cerr << "kelvane: " << problem << '\n' << std::flush;
        };
        BatchRunner runner(MakeDriverFactory(setup, clock), clock, std::cout, std::cerr);
        return runner.Run(commandLine.Measurements());
    }
    if (!DisplayAvailable([](const char* name) { return std::getenv(name); })) {
        std::cerr << NoDisplayMessage();
        return kExitUsage;
    }
    return WindowProgram::Run(argc, argv, setup,
                              WindowCaption(commandLine.Simulate(), commandLine.Bus().text));
}
