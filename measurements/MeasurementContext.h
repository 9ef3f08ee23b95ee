#pragma once

#include <functional>

#include "analyzer/AnalyzerSession.h"
#include "measurements/LogSink.h"
#include "measurements/MeasurementSetup.h"
#include "platform/Clock.h"

namespace kelvane {

// What one measurement run works with: the program's analyzer session, the log it writes to,
// the clock of the measurement-end wait, the bench's set-up, and whether the run is asked to
// stop (Ctrl+C): asked before each transfer, never during one; empty: never.
struct MeasurementContext {
    AnalyzerSession& session;
    LogSink& log;
    Clock& clock;
    MeasurementSetup setup{};
    std::function<bool()> stopRequested{};
};

// How a run ended, for the batch mode's exit status.
enum class MeasurementOutcome {
    Completed,  // every reply was good and the end of the measurement was reported in time
    Warning,    // the results were logged, followed by a warning line about the wait
    Failed,     // a failure line was logged
    // Stopped on request between two transfers: "<title> interrupted" was logged and the
    // analyzer set back.
    Interrupted,
};

}  // namespace kelvane
