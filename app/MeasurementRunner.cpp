#include "app/MeasurementRunner.h"

#include <exception>
#include <utility>

#include "analyzer/GpibRegistrationFailure.h"
#include "charts/ChartFileName.h"
#include "charts/RecordChart.h"
#include "gpib/ObservedGpibDriver.h"

namespace kelvane {

namespace {

// The driver, observed for the bus steps when somebody listens.
DriverFactory StepsOf(DriverFactory factory, const RunnerOptions& options, BusActivity& activity) {
    return options.step ? Observed(std::move(factory), activity) : std::move(factory);
}

}  // namespace

MeasurementRunner::MeasurementRunner(DriverFactory factory, Clock& clock, LogSink& log,
                                     RunnerOptions options)
    : clock_(clock),
      log_(log),
      options_(std::move(options)),
      recorder_(clock, options_.bus, options_.utcNow),
      records_(options_.targets, options_.keepLogs),
      activity_([this](const BusStep& step) { options_.step(step); }),
      binding_(StepsOf(std::move(factory), options_, activity_),
               [this](const std::string& message) {
                   if (options_.presentMessage) options_.presentMessage(message);
               }),
      session_(binding_) {
    if (options_.runId.empty()) options_.runId = ids_.Next();
}

RunEnd MeasurementRunner::Run(const CatalogEntry& entry, const MeasurementSetup& setup,
                              const RecordOrigin& origin) {
    if (options_.followSetup) options_.followSetup(setup);
    MeasurementContext context{session_, log_, clock_, setup, options_.stopRequested};
    RunEnd end;
    MeasurementRecord& record = end.record;
    record = recorder_.Start(entry, setup);
    record.origin = origin;
    record.runId = options_.runId;
    record.recordId = ids_.Next();
    std::string aborted;
    try {
        recorder_.Complete(record, entry, context);
    } catch (const GpibRegistrationFailure&) {
        end.registrationFailed = true;
        return end;
    } catch (const std::exception& error) {
        aborted = std::string("Measurement aborted: ") + error.what();
    } catch (...) {
        aborted = "Measurement aborted.";
    }
    if (!aborted.empty()) {
        log_.AppendResult("\r\n" + aborted + "\r\n");
        // What is known of it: a failed run of this measurement, which nothing could judge.
        record.result.message = aborted;
        record.result.log = "\r\n" + aborted + "\r\n";
        record.judgement.verdict = Verdict::Incomplete;
    }
    // The record and the chart do not depend on the log: they are kept when it failed too.
    if (std::string failure = WriteChart(record); !failure.empty())
        end.fileFailures.push_back(std::move(failure));
    for (std::string& failure : records_.Keep(record))
        end.fileFailures.push_back(std::move(failure));
    end.notices = records_.Notices();
    return end;
}

std::string MeasurementRunner::WriteChart(const MeasurementRecord& record) const {
    if (!options_.charts.Wanted()) return {};
    const auto model = ChartFor(record);
    if (!model) return {};
    return options_.charts
        .writer(*model, options_.charts.folder, ChartFileStem(record), options_.charts.png)
        .failure;
}

}  // namespace kelvane
