#include "app/BatchRunner.h"

#include <algorithm>
#include <string>
#include <utility>

#include "analyzer/GpibRegistrationFailure.h"
#include "app/ExitStatus.h"
#include "charts/ChartFileName.h"
#include "charts/RecordChart.h"
#include "measurements/MeasurementCatalog.h"
#include "results/RunSummary.h"

namespace kelvane {

BatchRunner::BatchRunner(DriverFactory factory, Clock& clock, std::ostream& out, std::ostream& err,
                         BatchOptions options)
    : err_(err),
      clock_(clock),
      options_(std::move(options)),
      recorder_(clock, options_.bus, options_.utcNow),
      records_(options_.results, false),
      binding_(std::move(factory),
               [&err](const std::string& message) {
                   err << "kelvane: " << message << '\n';
                   err.flush();
               }),
      session_(binding_),
      log_(out) {}

int BatchRunner::Run(const std::vector<const CatalogEntry*>& measurements) {
    int status = kExitCompleted;
    bool recordLost = false;
    const std::size_t total = measurements.size() * static_cast<std::size_t>(options_.repeat);
    for (std::size_t done = 0; done < total; ++done) {
        const CatalogEntry& entry = *measurements[done % measurements.size()];
        MeasurementContext context{session_, log_, clock_, options_.setup};
        MeasurementRecord record;
        try {
            record = recorder_.Run(entry, context);
        } catch (const GpibRegistrationFailure&) {
            // The binding has shown its message; no further driver call may follow.
            return kExitRegistrationFailure;
        }
        if (record.result.outcome != MeasurementOutcome::Completed)
            status = kExitMeasurementProblem;
        // The record and the chart do not depend on the log: they are kept when it failed too.
        recordLost |= !Draw(record);
        if (const std::string failure = records_.Keep(std::move(record)); !failure.empty()) {
            err_ << "kelvane: " << failure << '\n' << std::flush;
            recordLost = true;
        }
        if (LogLost()) return kExitLogUnwritable;
        if (StopsAfter(total - done - 1)) break;
    }
    if (options_.repeat > 1) Summarize(measurements);
    if (LogLost()) return kExitLogUnwritable;
    // A record or a chart asked for and not written is a file that could not be written.
    return recordLost ? kExitLogUnwritable : status;
}

bool BatchRunner::Draw(const MeasurementRecord& record) {
    if (options_.chartsFolder.empty() || !options_.chartWriter) return true;
    const auto model = ChartFor(record);
    if (!model) return true;
    const WrittenChart written = options_.chartWriter(*model, options_.chartsFolder,
                                                      ChartFileStem(record), options_.chartsPng);
    if (written.failure.empty()) return true;
    err_ << "kelvane: " << written.failure << '\n' << std::flush;
    return false;
}

bool BatchRunner::LogLost() {
    if (log_.Failure().empty()) return false;
    err_ << "kelvane: cannot write the log: " << log_.Failure() << '\n' << std::flush;
    return true;
}

bool BatchRunner::StopsAfter(std::size_t left) {
    if (left == 0 || !(session_.BusUnreachable() || session_.AnalyzerAbsent())) return false;
    // Every further session would fail the same way (an adapter or an analyzer that does not
    // answer takes its 10 s each time).
    err_ << "kelvane: "
         << (session_.BoardUnavailable() ? "the GPIB board is not set up"
             : session_.BusUnreachable() ? "the bus could not be reached"
                                         : "the analyzer did not answer")
         << "; the remaining " << left << (left == 1 ? " measurement was" : " measurements were")
         << " not attempted.\n"
         << std::flush;
    return true;
}

void BatchRunner::Summarize(const std::vector<const CatalogEntry*>& measurements) {
    const auto& records = records_.Records();
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
