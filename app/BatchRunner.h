#pragma once

#include <ostream>
#include <vector>

#include "analyzer/AnalyzerSession.h"
#include "analyzer/GpibBinding.h"
#include "app/StreamLogSink.h"
#include "gpib/DriverLoad.h"
#include "measurements/MeasurementSetup.h"
#include "platform/Clock.h"

namespace kelvane {

struct CatalogEntry;

// Runs measurements without a window: the same core code as the buttons, the log written to
// `out`, the binding's messages to `err`. Owns the program's binding and analyzer session.
class BatchRunner {
public:
    // `clock` must outlive the runner. The measurements run with `setup`.
    BatchRunner(DriverFactory factory, Clock& clock, std::ostream& out, std::ostream& err,
                const MeasurementSetup& setup = {});

    // Runs these measurements in order and returns the exit status: 0 all completed, 1 any
    // warning or failure, 3 the driver could not be loaded or registered (nothing runs after
    // that), 4 the log could not be written (the measurement that found out still closes its
    // session; none runs after it). When the bus cannot be brought up (the PC's GPIB board is
    // not set up, an adapter cannot be reached) or the analyzer took no part in a session (no
    // listener, no answer to its first read), the measurements after it are not attempted.
    int Run(const std::vector<const CatalogEntry*>& measurements);

private:
    std::ostream& err_;
    Clock& clock_;
    MeasurementSetup setup_;
    GpibBinding binding_;
    AnalyzerSession session_;
    StreamLogSink log_;
};

}  // namespace kelvane
