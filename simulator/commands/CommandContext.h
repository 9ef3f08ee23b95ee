#pragma once

#include <chrono>
#include <optional>

#include "simulator/commands/CommandParser.h"
#include "simulator/instrument/InstrumentState.h"
#include "simulator/instrument/ReplyQueue.h"
#include "simulator/instrument/StatusModel.h"
#include "simulator/instrument/SweepController.h"
#include "simulator/traces/MeasurementEngine.h"

namespace kelvane {

// What a command handler works on, and when the analyzer executes the command.
struct CommandContext {
    InstrumentState& state;
    StatusModel& status;
    SweepController& sweep;
    MeasurementEngine& engine;
    ReplyQueue& replies;
    std::chrono::nanoseconds now{0};

    // A keyword or form the analyzer does not know.
    void CommandError() { status.SetEvent(StatusModel::kCommandError); }
    // A well-formed command that cannot be carried out (value out of range, result of a
    // measurement that is switched off).
    void ExecutionError() { status.SetEvent(StatusModel::kExecutionError); }

    // The ON/OFF word of a switch command; no word means ON. False (and a command error) for
    // any other word.
    bool SwitchWord(const Command& command, bool& on);

    // The command's value when it is a whole number from min to max; otherwise nothing (and an
    // execution error).
    std::optional<int> WholeNumber(const Command& command, int min, int max);
};

}  // namespace kelvane
