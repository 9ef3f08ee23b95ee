#pragma once

#include <chrono>
#include <cstdint>
#include <string_view>

#include "simulator/CommandParser.h"
#include "simulator/CommandTable.h"
#include "simulator/InstrumentState.h"
#include "simulator/MeasurementEngine.h"
#include "simulator/ReplyQueue.h"
#include "simulator/SimulatorOptions.h"
#include "simulator/StatusModel.h"
#include "simulator/SweepController.h"

namespace kelvane {

// The analyzer behind its GPIB port: executes each message written to it, in order, and queues
// the answers of its queries. A message arriving while a single sweep runs executes when the
// sweep is done. An unknown or malformed command sets the command error bit and ends the
// message's execution; the commands before it stand. A new message discards answers that were
// not read and flags a query error.
class AnalyzerCore {
public:
    AnalyzerCore(const SimulatorOptions& options, std::uint32_t seed);

    void Execute(std::string_view message, std::chrono::nanoseconds now);

    ReplyQueue& Replies() { return replies_; }
    StatusModel& Status() { return status_; }
    const InstrumentState& State() const { return state_; }

private:
    InstrumentState state_;
    StatusModel status_;
    SweepController sweep_;
    MeasurementEngine engine_;
    ReplyQueue replies_;
    CommandTable table_;
    CommandParser parser_;
};

}  // namespace kelvane
