#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "bus/SteadyClock.h"
#include "bus/TraceFile.h"
#include "window/BatchRunner.h"
#include "window/CommandLine.h"
#include "window/ConsoleOutput.h"
#include "window/DisplayCheck.h"
#include "window/DriverChoice.h"
#include "window/ExitStatus.h"
#include "window/ProgramArguments.h"
#include "window/StandardDescriptors.h"
#include "window/WindowCaption.h"
#ifdef KELVANE_HAS_WINDOW
#include "window/WindowProgram.h"
#endif

namespace {

#ifdef KELVANE_HAS_WINDOW
constexpr bool kHasWindow = true;
#else
constexpr bool kHasWindow = false;
#endif

// Writes text to standard output; a write that fails is reported, with status 4.
int PrintOut(const std::string& text) {
    errno = 0;
    std::cout << text << std::flush;
    if (std::cout) return kelvane::kExitCompleted;
    std::cerr << "kelvane: cannot write the log: "
              << (errno != 0 ? std::strerror(errno) : "the output stream failed") << '\n';
    return kelvane::kExitLogUnwritable;
}

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

// Without --measure: the window (in a build that has one). With --measure: the batch mode,
// which creates no QApplication and so runs without a display.
int main(int argc, char** argv) {
    using namespace kelvane;
    const bool outputClosed = SecureStandardDescriptors().output;
    PrepareStandardOutput();
    const std::vector<std::string> arguments = ProgramArguments(argc, argv);
    const CommandLine commandLine(arguments, std::getenv("KELVANE_BUS"));
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
        return PrintOut(CommandLine::HelpText(kHasWindow));
    case CommandLine::Action::Version:
        return PrintOut(std::string("kelvane ") + KELVANE_VERSION + "\n");
    case CommandLine::Action::Batch:
    case CommandLine::Action::Window:
        break;
    }
#ifndef KELVANE_HAS_WINDOW
    if (action == CommandLine::Action::Window) {
        std::cerr << "kelvane: this build has no window; the measurements run in batch mode, "
                     "e.g.\n  kelvane --simulate --measure all\n";
        return kExitUsage;
    }
#endif
    SteadyClock clock;
    DriverSetup setup{commandLine.Simulate(), commandLine.Bus(), nullptr};
    std::unique_ptr<TraceLog> trace;
    if (!commandLine.TracePath().empty()) {
        TraceFileOpen open = OpenTraceFile(commandLine.TracePath());
        if (!open.file) {
            std::cerr << "kelvane: cannot open the trace file \"" << commandLine.TracePath()
                      << "\": " << open.failure << '\n';
            return kExitUsage;
        }
        // Reported at once, on the thread that wrote; the measurements go on.
        auto report = [path = commandLine.TracePath()](const std::string& reason) {
            std::cerr << "kelvane: cannot write the trace file \"" << path << "\": " << reason
                      << '\n'
                      << std::flush;
        };
        trace = std::make_unique<TraceLog>(std::move(open.file), clock, report);
        trace->Line(TraceHeader(arguments));
        setup.trace = trace.get();
    }
    const auto withTrace = [&trace](int status) {
        // A trace asked for and lost is a file that could not be written.
        const bool lost = trace && !trace->Failure().empty();
        return lost && status <= kExitMeasurementProblem ? kExitLogUnwritable : status;
    };
    if (action == CommandLine::Action::Batch) {
        BatchRunner runner(MakeDriverFactory(setup, clock), clock, std::cout, std::cerr);
        return withTrace(runner.Run(commandLine.Measurements()));
    }
#ifdef KELVANE_HAS_WINDOW
#ifndef _WIN32
    // The Windows desktop is always there; elsewhere the window needs a display server.
    if (!DisplayAvailable([](const char* name) { return std::getenv(name); })) {
        std::cerr << NoDisplayMessage();
        return kExitUsage;
    }
#endif
    return withTrace(WindowProgram::Run(
        argc, argv, setup, WindowCaption(commandLine.Simulate(), commandLine.Bus().text)));
#endif
}
