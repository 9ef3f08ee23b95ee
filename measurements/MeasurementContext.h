#pragma once

#include "analyzer/AnalyzerSession.h"
#include "measurements/LogSink.h"
#include "measurements/MeasurementSetup.h"
#include "platform/Clock.h"

namespace kelvane {

// What one measurement run works with: the program's analyzer session, the log it writes to,
// the clock of the measurement-end wait, and the bench's set-up.
struct MeasurementContext {
    AnalyzerSession& session;
    LogSink& log;
    Clock& clock;
    MeasurementSetup setup{};
};

// How a run ended, for the batch mode's exit status.
enum class MeasurementOutcome {
    Completed,  // every reply was good and the end of the measurement was reported in time
    Warning,    // the results were logged, followed by a warning line about the wait
    Failed,     // a failure line was logged
};

}  // namespace kelvane
