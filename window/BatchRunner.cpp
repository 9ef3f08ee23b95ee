#include "window/BatchRunner.h"

#include <string>
#include <utility>

#include "bus/GpibRegistrationFailure.h"
#include "measurements/MeasurementCatalog.h"
#include "window/ExitStatus.h"

namespace kelvane {

BatchRunner::BatchRunner(DriverFactory factory, Clock& clock, std::ostream& out, std::ostream& err)
    : clock_(clock),
      binding_(std::move(factory),
               [&err](const std::string& message) {
                   err << "kelvane: " << message << '\n';
                   err.flush();
               }),
      session_(binding_),
      log_(out) {}

int BatchRunner::Run(const std::vector<const CatalogEntry*>& measurements) {
    int status = kExitCompleted;
    for (const CatalogEntry* entry : measurements) {
        MeasurementContext context{session_, log_, clock_, events_};
        try {
            if (entry->run(context) != MeasurementOutcome::Completed) {
                status = kExitMeasurementProblem;
            }
        } catch (const GpibRegistrationFailure&) {
            // The binding has shown its message; no further driver call may follow.
            return kExitRegistrationFailure;
        }
    }
    return status;
}

}  // namespace kelvane
