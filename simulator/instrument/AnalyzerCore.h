#pragma once

#include <chrono>
#include <cstdint>
#include <string_view>

#include "simulator/SimulatorOptions.h"
#include "simulator/commands/CommandParser.h"
#include "simulator/commands/CommandTable.h"
#include "simulator/instrument/InstrumentState.h"
#include "simulator/instrument/ReplyQueue.h"
#include "simulator/instrument/StatusModel.h"
#include "simulator/instrument/SweepController.h"
#include "simulator/traces/MeasurementEngine.h"

namespace kelvane {

// The analyzer behind its GPIB port: executes each message written to it, in order, and queues
// the answers of its queries. A message arriving while a single sweep runs executes when the
// sweep is done. An unknown or malformed command sets the command error bit and ends the
// message's execution; the commands before it stand. A new message discards answers that were
// not read and flags a query error.
class AnalyzerCore {
public:
    AnalyzerCore(const SimulatorOptions& options, std::uint32_t seed, const SimulatedBench& bench);

    // The transmitters move to the bench's carriers.
    void Retune(const SimulatedBench& bench) { engine_.Retune(bench); }

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
