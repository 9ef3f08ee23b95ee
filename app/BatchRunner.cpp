#include "app/BatchRunner.h"

#include <algorithm>
#include <string>
#include <utility>

#include "app/ExitStatus.h"
#include "charts/ChartFileName.h"
#include "charts/RecordChart.h"
#include "measurements/MeasurementCatalog.h"
#include "results/RunSummary.h"
#include "results/VerdictText.h"

namespace kelvane {

namespace {

RunnerOptions BatchRunnerOptions(BatchOptions& options, std::ostream& err) {
    RunnerOptions runner;
    runner.bus = std::move(options.bus);
    runner.utcNow = std::move(options.utcNow);
    runner.targets = std::move(options.targets);
    runner.keepLogs = options.keepLogs;
    runner.charts = {std::move(options.chartsFolder), options.chartsPng,
                     std::move(options.chartWriter)};
    runner.presentMessage = [&err](const std::string& message) {
        err << "kelvane: " << message << '\n';
        err.flush();
    };
    if (options.interruption)
        runner.stopRequested = [asked = options.interruption] { return asked() != 0; };
    return runner;
}

}  // namespace

BatchRunner::BatchRunner(DriverFactory factory, Clock& clock, std::ostream& out, std::ostream& err,
                         BatchOptions options)
    : err_(err),
      interruption_(options.interruption),
      finished_(std::move(options.finished)),
      repeat_(options.repeat),
      setup_(options.setup),
      origin_(options.origin),
      log_(out),
      runner_(std::move(factory), clock, log_, BatchRunnerOptions(options, err)) {}

int BatchRunner::Run(const std::vector<const CatalogEntry*>& measurements) {
    const int status = RunMeasurements(measurements);
    if (finished_) finished_(runner_.Records());
    return status;
}

int BatchRunner::RunMeasurements(const std::vector<const CatalogEntry*>& measurements) {
    bool problem = false;      // a failure line, a warning or an incomplete verdict
    bool limitFailed = false;  // a FAIL verdict
    bool fileLost = false;
    const std::size_t total = measurements.size() * static_cast<std::size_t>(repeat_);
    for (std::size_t done = 0; done < total; ++done) {
        if (const int interrupted = Interrupted(total - done)) return interrupted;
        const CatalogEntry& entry = *measurements[done % measurements.size()];
        const RunEnd end = runner_.Run(entry, setup_, origin_);
        // The binding has shown its message; no further driver call may follow.
        if (end.registrationFailed) return kExitRegistrationFailure;
        const Judgement& judgement = end.record.judgement;
        problem |= end.record.result.outcome != MeasurementOutcome::Completed ||
                   judgement.verdict == Verdict::Incomplete;
        limitFailed |= judgement.verdict == Verdict::Fail;
        if (const std::string notPassed = NotPassedText(judgement); !notPassed.empty())
            err_ << "kelvane: " << entry.name << ": " << notPassed << '\n' << std::flush;
        for (const std::string& failure : end.fileFailures) {
            err_ << "kelvane: " << failure << '\n' << std::flush;
            fileLost = true;
        }
        if (LogLost()) return kExitLogUnwritable;
        if (const int interrupted = Interrupted(total - done - 1)) return interrupted;
        if (StopsAfter(total - done - 1)) break;
    }
    if (repeat_ > 1) Summarize(measurements);
    for (const std::string& notice : runner_.Notices()) err_ << "kelvane: " << notice << '\n';
    err_ << std::flush;
    if (LogLost()) return kExitLogUnwritable;
    // A record or a chart asked for and not written is a file that could not be written.
    if (fileLost) return kExitLogUnwritable;
    if (limitFailed) return kExitLimitFailed;
    return problem ? kExitMeasurementProblem : kExitCompleted;
}

bool BatchRunner::LogLost() {
    if (log_.Failure().empty()) return false;
    err_ << "kelvane: cannot write the log: " << log_.Failure() << '\n' << std::flush;
    return true;
}

bool BatchRunner::StopsAfter(std::size_t left) {
    const AnalyzerSession& session = runner_.Session();
    if (left == 0 || !(session.BusUnreachable() || session.AnalyzerAbsent())) return false;
    // Every further session would fail the same way (an adapter or an analyzer that does not
    // answer takes its 10 s each time).
    err_ << "kelvane: "
         << (session.BoardUnavailable() ? "the GPIB board is not set up"
             : session.BusUnreachable() ? "the bus could not be reached"
                                        : "the analyzer did not answer")
         << "; the remaining " << left << (left == 1 ? " measurement was" : " measurements were")
         << " not attempted.\n"
         << std::flush;
    return true;
}

int BatchRunner::Interrupted(std::size_t left) {
    const int status = interruption_ ? interruption_() : 0;
    if (status == 0) return 0;
    err_ << "kelvane: interrupted";
    if (left > 0)
        err_ << "; the remaining " << left
             << (left == 1 ? " measurement was" : " measurements were") << " not attempted";
    err_ << ".\n" << std::flush;
    return status;
}

void BatchRunner::Summarize(const std::vector<const CatalogEntry*>& measurements) {
    const std::vector<MeasurementRecord> records = runner_.Records();
    std::vector<std::string_view> summarized;
    for (const CatalogEntry* entry : measurements) {
        if (std::find(summarized.begin(), summarized.end(), entry->name) != summarized.end())
            continue;
        summarized.push_back(entry->name);
        std::vector<MeasurementRecord> runs;
        std::copy_if(records.begin(), records.end(), std::back_inserter(runs),
                     [entry](const MeasurementRecord& r) { return r.measurement == entry->name; });
        if (!runs.empty()) log_.AppendResult(RunSummary(runs));
    }
}

}  // namespace kelvane
