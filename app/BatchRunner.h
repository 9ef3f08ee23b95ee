#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "app/MeasurementRunner.h"
#include "app/StreamLogSink.h"
#include "app/records/ChartOutput.h"
#include "app/records/MeasurementRecorder.h"
#include "gpib/DriverLoad.h"
#include "measurements/MeasurementSetup.h"
#include "platform/Clock.h"
#include "results/RecordTarget.h"

namespace kelvane {

struct CatalogEntry;

// How a batch runs its measurements.
struct BatchOptions {
    MeasurementSetup setup;
    RecordOrigin origin;       // the DUT, operator and station of every record
    std::string bus = "gpib";  // as the records name it
    int repeat = 1;            // times over the whole list, then a summary in the log
    // Each gets a record of each measurement (--results); they must outlive the run.
    std::vector<RecordTarget*> targets;
    MeasurementRecorder::UtcClock utcNow;  // the records' start times; the system's by default
    // The charts of the charted measurements go into chartsFolder through chartWriter (as SVG,
    // and PNG with chartsPng); none when the folder is empty.
    std::string chartsFolder;
    bool chartsPng = false;
    ChartWriter chartWriter;
    // The exit status after a request to stop (a signal: 130, 143), 0 while there was none.
    // The running measurement then ends as interrupted and no other one starts.
    std::function<int()> interruption;
    // Keep each record's log text for `finished` (a report shows the logs); without it the
    // records are kept without their logs, which are on standard output.
    bool keepLogs = false;
    // Called once at the end of Run, however the batch ended (also interrupted, or stopped after
    // a failure), with the records of the measurements run, in order; none when empty.
    std::function<void(const std::vector<MeasurementRecord>& records)> finished;
};

// Runs measurements without a window, through the same MeasurementRunner as the buttons: the log
// written to `out`, the binding's messages and every file problem to `err`.
class BatchRunner {
public:
    // `clock` must outlive the runner.
    BatchRunner(DriverFactory factory, Clock& clock, std::ostream& out, std::ostream& err,
                BatchOptions options = {});

    // Runs these measurements in order, `repeat` times over, and returns the exit status: 0 all
    // completed, 5 a verdict is FAIL, 1 any warning, failure or incomplete verdict (each
    // measurement that did not pass is named on `err` with why), 3 the driver could not be
    // loaded or registered
    // (nothing runs after that), 4 the log could not be written (the measurement that found out
    // still closes its session; none runs after it) or a record could not be written (one line
    // each on `err`; the measurements go on), and so could a chart. When the bus cannot be
    // brought up (the PC's GPIB board is not set up, an adapter cannot be reached) or the
    // analyzer took no part in a session (no listener, no answer to its first read), the
    // measurements after it are not attempted. After more than one run of the list, the log gets
    // a summary per measurement. A request to stop (BatchOptions::interruption) ends the batch
    // after the running measurement's record, with the interruption's status.
    int Run(const std::vector<const CatalogEntry*>& measurements);

private:
    // Run, without the call of `finished`.
    int RunMeasurements(const std::vector<const CatalogEntry*>& measurements);
    // True, once said on standard error, when a log line could not be written.
    bool LogLost();
    // Whether the batch stops after this measurement's session; says why on err_.
    bool StopsAfter(std::size_t left);
    // The interruption's exit status, once said on err_; 0 while there is none.
    int Interrupted(std::size_t left);
    void Summarize(const std::vector<const CatalogEntry*>& measurements);

    std::ostream& err_;
    std::function<int()> interruption_;
    std::function<void(const std::vector<MeasurementRecord>&)> finished_;
    int repeat_;
    MeasurementSetup setup_;
    RecordOrigin origin_;
    StreamLogSink log_;
    MeasurementRunner runner_;
};

}  // namespace kelvane
