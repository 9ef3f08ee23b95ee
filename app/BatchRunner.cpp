#include "app/BatchRunner.h"

#include <string>
#include <utility>

#include "analyzer/GpibRegistrationFailure.h"
#include "app/ExitStatus.h"
#include "measurements/MeasurementCatalog.h"

namespace kelvane {

BatchRunner::BatchRunner(DriverFactory factory, Clock& clock, std::ostream& out, std::ostream& err,
                         const MeasurementSetup& setup)
    : err_(err),
      clock_(clock),
      setup_(setup),
      binding_(std::move(factory),
               [&err](const std::string& message) {
                   err << "kelvane: " << message << '\n';
                   err.flush();
               }),
      session_(binding_),
      log_(out) {}

int BatchRunner::Run(const std::vector<const CatalogEntry*>& measurements) {
    int status = kExitCompleted;
    for (std::size_t i = 0; i < measurements.size(); ++i) {
        MeasurementContext context{session_, log_, clock_, setup_};
        try {
            if (measurements[i]->run(context).outcome != MeasurementOutcome::Completed) {
                status = kExitMeasurementProblem;
            }
        } catch (const GpibRegistrationFailure&) {
            // The binding has shown its message; no further driver call may follow.
            return kExitRegistrationFailure;
        }
        if (!log_.Failure().empty()) {
            err_ << "kelvane: cannot write the log: " << log_.Failure() << '\n' << std::flush;
            return kExitLogUnwritable;
        }
        const std::size_t left = measurements.size() - i - 1;
        if ((session_.BusUnreachable() || session_.AnalyzerAbsent()) && left > 0) {
            // Every further session would fail the same way (an adapter or an analyzer that does
            // not answer takes its 10 s each time).
            err_ << "kelvane: "
                 << (session_.BoardUnavailable() ? "the GPIB board is not set up"
                     : session_.BusUnreachable() ? "the bus could not be reached"
                                                 : "the analyzer did not answer")
                 << "; the remaining " << left
                 << (left == 1 ? " measurement was" : " measurements were") << " not attempted.\n"
                 << std::flush;
            return status;
        }
    }
    return status;
}

}  // namespace kelvane
