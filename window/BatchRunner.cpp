#include "window/BatchRunner.h"

#include <functional>
#include <utility>

#include "bus/GpibRegistrationFailure.h"
#include "measurements/MeasurementCatalog.h"
#include "window/CommandLine.h"
#include "window/ExitStatus.h"

namespace kelvane {

BatchRunner::BatchRunner(DriverFactory factory, Clock& clock, std::ostream& out, std::ostream& err)
    : clock_(clock),
      err_(err),
      binding_(std::move(factory),
               [&err](const std::string& message) {
                   err << "kelvane: " << message << '\n';
                   err.flush();
               }),
      session_(binding_),
      log_(out) {}

int BatchRunner::Run(const std::vector<std::string>& names) {
    std::vector<const CatalogEntry*> entries;
    for (const auto& name : names) {
        const CatalogEntry* found = nullptr;
        for (const auto& entry : MeasurementCatalog()) {
            if (entry.name == name) found = &entry;
        }
        if (found == nullptr) {
            err_ << "kelvane: unknown measurement '" << name << "'\n"
                 << CommandLine::UsageLine() << '\n';
            return kExitUsage;
        }
        entries.push_back(found);
    }

    int status = kExitCompleted;
    for (const CatalogEntry* entry : entries) {
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
