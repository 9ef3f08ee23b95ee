#pragma once

#include <functional>
#include <string>
#include <vector>

#include "analyzer/AnalyzerSession.h"
#include "analyzer/GpibBinding.h"
#include "app/bus/BusActivity.h"
#include "app/records/ChartOutput.h"
#include "app/records/MeasurementRecorder.h"
#include "app/records/RecordKeeper.h"
#include "app/records/UuidSource.h"
#include "gpib/DriverLoad.h"
#include "measurements/LogSink.h"
#include "measurements/MeasurementCatalog.h"
#include "platform/Clock.h"
#include "results/RecordTarget.h"

namespace kelvane {

// What a runner tells and where its records and charts go.
struct RunnerOptions {
    std::string bus = "gpib";              // as the records name it
    MeasurementRecorder::UtcClock utcNow;  // the records' start times; the system's by default
    // Each gets a record of each measurement (--results); they must outlive the runner.
    std::vector<RecordTarget*> targets;
    // Keep each record's log text in memory too (the window's "Save results as..."); a batch
    // has its log on standard output.
    bool keepLogs = true;
    ChartOutput charts;  // the chart files of the charted measurements (batch)
    // Hears each step of the bus (the window's status line); none when empty.
    BusActivity::Report step;
    // Shows the message when the driver cannot be loaded or registered.
    GpibBinding::MessagePresenter presentMessage;
    // Called with each measurement's set-up before it runs (the simulated bench, the trace).
    std::function<void(const MeasurementSetup& setup)> followSetup;
    // Whether the running measurement is asked to stop (Ctrl+C in batch): it then stops before
    // its next command, sets the analyzer back and ends as interrupted. Empty: never.
    std::function<bool()> stopRequested;
    // The run's id in every record (one per batch or window session); a new one when empty.
    std::string runId;
};

// How one run ended, for the caller to show.
struct RunEnd {
    // The driver could not be loaded or registered; its message has been shown. No driver call
    // may follow: the program ends. Nothing else of the run is set.
    bool registrationFailed = false;
    // What the run gave, judged; also for a run that threw (a failed run, "Measurement
    // aborted: ..." in its log and message).
    MeasurementRecord record;
    // One line for each file that could not take the run's chart or record, e.g. "cannot write
    // the acp record to the results file \"r.jsonl\": No space left on device"; the record is
    // kept all the same.
    std::vector<std::string> fileFailures;
    // What the record targets have to say afterwards, e.g. "3 records wait for ..."
    // (RecordTarget::Notice).
    std::vector<std::string> notices;
};

// Runs measurements from start to record, the one place that does: it owns the program's binding
// to the driver and its analyzer session, runs a measurement in its frame with the set-up given,
// judges what it gave into a record, appends the record to the results file, writes its chart
// and keeps it. The window's bus thread and the batch call it alike; it knows nothing of either.
// Run is called on one thread at a time (the binding registers the driver for that thread);
// Records may be read from any thread.
class MeasurementRunner {
public:
    // The driver is brought up by `factory` at the first run. `clock` and `log` must outlive
    // the runner.
    MeasurementRunner(DriverFactory factory, Clock& clock, LogSink& log,
                      RunnerOptions options = {});

    // origin: the DUT, operator and station the record names.
    RunEnd Run(const CatalogEntry& entry, const MeasurementSetup& setup,
               const RecordOrigin& origin = {});

    // The id that every record of this runner carries.
    const std::string& RunId() const { return options_.runId; }

    // How the last run's session went, for a batch that stops when the bus or the analyzer is
    // not there (AnalyzerSession).
    const AnalyzerSession& Session() const { return session_; }
    // The records of every run so far.
    std::vector<MeasurementRecord> Records() const { return records_.Records(); }
    // What the record targets have to say (records that wait for a database, ...).
    std::vector<std::string> Notices() const { return records_.Notices(); }

private:
    // The chart file's failure line; empty when written or not wanted.
    std::string WriteChart(const MeasurementRecord& record) const;

    Clock& clock_;
    LogSink& log_;
    RunnerOptions options_;
    MeasurementRecorder recorder_;
    RecordKeeper records_;
    UuidSource ids_;
    BusActivity activity_;
    GpibBinding binding_;
    AnalyzerSession session_;
};

}  // namespace kelvane
