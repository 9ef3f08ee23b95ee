#pragma once

#include <cstdint>

#include "analyzer/AnalyzerSession.h"
#include "platform/Clock.h"

namespace kelvane {

// How a wait for the end of an averaging measurement ended.
struct WaitResult {
    static constexpr std::int16_t kEndSeen = 0;
    static constexpr std::int16_t kErrorFlagged = 1;  // end seen, with an error in the event status
    static constexpr std::int16_t kNoEnd = 2;         // time-out, a silent analyzer or a bus fault
    // End seen with an event flagged, but the event status was unreadable or not 0 to 255.
    static constexpr std::int16_t kEventStatusUnreadable = 3;

    std::int16_t outcome = kEndSeen;
    std::int16_t eventStatus = 0;  // the converted "*ESR?" answer, when one was read
};

// Polls the analyzer's status byte about every 10 ms until bit 7 (the operation selected by
// "OPR n" ended) or bit 5 (event status summary) is set or the time limit has passed. It runs
// off the window's thread, so the window needs no turn between polls. A status read that did not
// end properly shows no bit; one that timed out ends the wait, since the analyzer has stopped
// answering.
class MeasurementEndWait {
public:
    MeasurementEndWait(AnalyzerSession& session, Clock& clock) : session_(session), clock_(clock) {}

    WaitResult WaitStatusEnd(const std::int32_t& timeLimitSeconds);
    // "*CLS", "OPR 16", then a wait of at most 10 s.
    WaitResult WaitOpr16();
    // "*CLS", "OPR 256", then a wait of at most 10 s.
    WaitResult WaitOpr256();

private:
    WaitResult WaitOpr(const char* oprCommand);

    AnalyzerSession& session_;
    Clock& clock_;
};

}  // namespace kelvane
