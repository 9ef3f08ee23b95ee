#include "app/ProgramMain.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "app/BatchRunner.h"
#include "app/CommandLine.h"
#include "app/ExitStatus.h"
#include "app/HelpText.h"
#include "app/bus/DriverChoice.h"
#include "app/bus/SetupFollower.h"
#include "app/databases/DatabaseCommands.h"
#include "app/records/RecordTargets.h"
#include "gpib/TraceFile.h"
#include "measurements/MeasurementCatalog.h"
#include "platform/ConsoleOutput.h"
#include "platform/DisplayCheck.h"
#include "platform/InterruptSignals.h"
#include "platform/ProgramArguments.h"
#include "platform/StandardDescriptors.h"
#include "platform/SteadyClock.h"
#include "platform/SystemFeatures.h"
#include "report/ReportFile.h"
#include "report/ReportPage.h"

namespace kelvane {

namespace {

// Writes text to standard output; a write that fails is reported, with status 4.
int PrintOut(const std::string& text) {
    errno = 0;
    std::cout << text << std::flush;
    if (std::cout) return kExitCompleted;
    std::cerr << "kelvane: cannot write the log: "
              << (errno != 0 ? std::strerror(errno) : "the output stream failed") << '\n';
    return kExitLogUnwritable;
}

// The trace's first line: what ran, on which bus, when (UTC).
std::string TraceHeader(const std::vector<std::string>& arguments) {
    char when[32] = "?";
    const std::time_t now = std::time(nullptr);
    // Read once, before any other thread exists.
    if (const std::tm* utc = std::gmtime(&now))
        std::strftime(when, sizeof when, "%Y-%m-%d %H:%M:%S", utc);
    std::string line = std::string("# kelvane ") + KELVANE_VERSION + " started " + when + " UTC:";
    // A password in a server's URI stays out of the trace.
    for (const auto& argument : arguments) line += " " + DatabaseOptions::WithoutPassword(argument);
    return line;
}

// Writes the batch's report (--report) of its records; empty when written, else the line that
// says why not.
std::string WriteBatchReport(const CommandLine& commandLine, const std::string& bus,
                             std::chrono::system_clock::time_point started,
                             const std::vector<MeasurementRecord>& records,
                             const ChartSvgSource& chartSvg) {
    ReportFacts facts;
    facts.version = KELVANE_VERSION;
    facts.started = started;
    facts.ended = std::chrono::system_clock::now();
    facts.origin = commandLine.Origin();
    facts.setup = commandLine.Setup();
    facts.bus = bus;
    for (int run = 0; run < commandLine.Repeat(); ++run)
        for (const CatalogEntry* entry : commandLine.Measurements())
            facts.planned.emplace_back(entry->name);
    return ReportFile::Write(commandLine.ReportPath(), ReportHtml(records, facts, chartSvg));
}

}  // namespace

// Without --measure: the window (in a build that has one). With --measure: the batch mode,
// which creates no QApplication and so runs without a display.
int ProgramMain(int argc, char** argv, const QtParts& qt) {
    const bool outputClosed = SecureStandardDescriptors().output;
    PrepareStandardOutput();
    const std::vector<std::string> arguments = ProgramArguments(argc, argv);
    const CommandLine commandLine(arguments, std::getenv("KELVANE_BUS"));
    const auto action = commandLine.WhatToDo();
    const bool writesOutput =
        action == CommandLine::Action::Help || action == CommandLine::Action::Version ||
        action == CommandLine::Action::Batch || action == CommandLine::Action::Sync ||
        action == CommandLine::Action::History;
    if (outputClosed && writesOutput) {
        // Nothing is measured that could not be reported.
        std::cerr << "kelvane: cannot write the log: standard output is closed\n";
        return kExitLogUnwritable;
    }
    switch (action) {
    case CommandLine::Action::UsageError:
        std::cerr << "kelvane: " << commandLine.Error() << '\n';
        if (commandLine.ErrorWantsUsage()) std::cerr << UsageLine() << '\n';
        return kExitUsage;
    case CommandLine::Action::Help:
        return PrintOut(
            HelpText(static_cast<bool>(qt.launchWindow), static_cast<bool>(qt.writeChart)));
    case CommandLine::Action::Version:
        return PrintOut(std::string("kelvane ") + KELVANE_VERSION + "\n");
    case CommandLine::Action::Sync:
    case CommandLine::Action::History:
        return RunDatabaseCommand(commandLine, std::cout, std::cerr);
    case CommandLine::Action::Batch:
    case CommandLine::Action::Window:
        break;
    }
    if (!commandLine.ChartsFolder().empty() && !qt.writeChart) {
        std::cerr << "kelvane: charts are not available in this build\n";
        return kExitUsage;
    }
    if (action == CommandLine::Action::Window && !qt.launchWindow) {
        std::cerr << "kelvane: this build has no window; the measurements run in batch mode, "
                     "e.g.\n  kelvane --simulate --measure all\n";
        return kExitUsage;
    }
    if (action == CommandLine::Action::Window && kWindowNeedsDisplayServer &&
        !DisplayAvailable([](const char* name) { return std::getenv(name); })) {
        // Said before any file is opened: a usage error leaves nothing behind.
        std::cerr << NoDisplayMessage();
        return kExitUsage;
    }
    SteadyClock clock;
    DriverSetup setup{commandLine.Simulate(), commandLine.Bus(), nullptr, nullptr};
    // Both files are opened, and checked, before the trace's first line: a usage error leaves
    // nothing written.
    TraceFileOpen traceOpen;
    if (!commandLine.TracePath().empty()) {
        traceOpen = OpenTraceFile(commandLine.TracePath());
        if (!traceOpen.file) {
            std::cerr << "kelvane: cannot open the trace file \"" << commandLine.TracePath()
                      << "\": " << traceOpen.failure << '\n';
            return kExitUsage;
        }
    }
    const RecordTargets targets(commandLine.ResultsPaths(), commandLine.TracePath(),
                                commandLine.Databases().Journal());
    if (!targets.Error().empty()) {
        std::cerr << "kelvane: " << targets.Error() << '\n';
        return kExitUsage;
    }
    if (!commandLine.ReportPath().empty()) {
        std::vector<std::string> written = commandLine.ResultsPaths();
        if (!commandLine.TracePath().empty()) written.push_back(commandLine.TracePath());
        if (const std::string refused = ReportFile::Check(commandLine.ReportPath(), written);
            !refused.empty()) {
            std::cerr << "kelvane: " << refused << '\n';
            return kExitUsage;
        }
    }
    std::unique_ptr<TraceLog> trace;
    if (traceOpen.file) {
        // Reported at once, on the thread that wrote; the measurements go on.
        auto report = [path = commandLine.TracePath()](const std::string& reason) {
            std::cerr << "kelvane: cannot write the trace file \"" << path << "\": " << reason
                      << '\n'
                      << std::flush;
        };
        trace = std::make_unique<TraceLog>(std::move(traceOpen.file), clock, report);
        trace->Line(TraceHeader(arguments));
        setup.trace = trace.get();
    }
    // As the records name the bus.
    const std::string recordBus = commandLine.Simulate() ? "simulated" : commandLine.Bus().Name();
    SetupFollower follower(commandLine.Setup(), trace.get());
    setup.simulatedBench = &follower.Bench();
    const auto withTrace = [&trace](int status) {
        // A trace asked for and lost is a file that could not be written: that comes before a
        // failed limit or a measurement's problem.
        const bool lost = trace && !trace->Failure().empty();
        const bool outranked = status == kExitCompleted || status == kExitMeasurementProblem ||
                               status == kExitLimitFailed;
        return lost && outranked ? kExitLogUnwritable : status;
    };
    // From here on a signal ends the measurement under way cleanly, not the program.
    InterruptSignals::Catch();
    if (action == CommandLine::Action::Batch) {
        BatchOptions options;
        options.setup = commandLine.Setup();
        options.origin = commandLine.Origin();
        options.bus = recordBus;
        options.repeat = commandLine.Repeat();
        options.targets = targets.Targets();
        options.chartsFolder = commandLine.ChartsFolder();
        options.chartsPng = commandLine.ChartsPng();
        options.chartWriter = qt.writeChart;
        options.interruption = [] {
            return InterruptSignals::ExitStatus(InterruptSignals::Caught());
        };
        bool reportLost = false;
        if (!commandLine.ReportPath().empty()) {
            options.keepLogs = true;
            options.finished = [&, started = std::chrono::system_clock::now()](
                                   const std::vector<MeasurementRecord>& records) {
                const std::string failure =
                    WriteBatchReport(commandLine, recordBus, started, records, qt.chartSvg);
                if (!failure.empty()) std::cerr << "kelvane: " << failure << '\n' << std::flush;
                reportLost = !failure.empty();
            };
        }
        BatchRunner runner(MakeDriverFactory(setup, clock), clock, std::cout, std::cerr,
                           std::move(options));
        const int status = runner.Run(commandLine.Measurements());
        // A report asked for and not written outranks the measurements' statuses, as the trace.
        const bool outranked = status == kExitCompleted || status == kExitMeasurementProblem ||
                               status == kExitLimitFailed;
        return withTrace(reportLost && outranked ? kExitLogUnwritable : status);
    }
    WindowStart start{setup, commandLine.Setup(),
                      [&follower](const MeasurementSetup& next) { follower.Follow(next); },
                      recordBus, targets.Targets()};
    start.origin = commandLine.Origin();
    return withTrace(qt.launchWindow(argc, argv, start));
}

}  // namespace kelvane
