#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string_view>
#include <utility>

#include "analyzer/AnalyzerSession.h"
#include "platform/Clock.h"

namespace kelvane {

// How a wait for the end of an averaging measurement ended.
struct WaitResult {
    enum class End {
        Seen,
        ErrorFlagged,  // end seen, with an error in the event status
        NotSeen,       // time-out, a silent analyzer or a bus fault
        // End seen with an event flagged, but the event status was unreadable or not 0 to 255.
        EventStatusUnreadable,
    };

    End end = End::Seen;
    int eventStatus = 0;  // the converted "*ESR?" answer, when one was read

    bool Clean() const { return end == End::Seen; }
};

// Polls the analyzer's status byte about every 10 ms until bit 7 (the operation selected by
// "OPR n" ended) or bit 5 (event status summary) is set or the time limit has passed. It runs
// off the window's thread, so the window needs no turn between polls. A status read that did not
// end properly shows no bit; one that timed out ends the wait, since the analyzer has stopped
// answering.
class MeasurementEndWait {
public:
    // The commands of the wait, for whoever watches the bus: the wait starts with kEnableEnd and
    // then polls with kStatusQuery, and with kEventStatusQuery after an event was flagged.
    static constexpr std::string_view kEnableEnd = "*SRE 160";
    static constexpr std::string_view kStatusQuery = "*STB?";
    static constexpr std::string_view kEventStatusQuery = "*ESR?";
    static constexpr std::chrono::seconds kTimeLimit{10};

    // stopRequested: asked before each poll; a wait asked to stop ends as NotSeen (empty:
    // never).
    MeasurementEndWait(AnalyzerSession& session, Clock& clock,
                       std::function<bool()> stopRequested = {})
        : session_(session), clock_(clock), stopRequested_(std::move(stopRequested)) {}

    // Polls until the end status shows or `limit` has passed.
    WaitResult WaitForEndStatus(std::chrono::seconds limit);
    // "*CLS", "OPR 16" (the channel power's averaging has ended), then a wait of at most 10 s.
    WaitResult WaitForAveragedChannelPower();
    // "*CLS", "OPR 256" (the sweeps' averaging has ended), then a wait of at most 10 s.
    WaitResult WaitForAveragedSweeps();

private:
    WaitResult WaitForOperation(const char* selectOperation);

    AnalyzerSession& session_;
    Clock& clock_;
    std::function<bool()> stopRequested_;
};

}  // namespace kelvane
