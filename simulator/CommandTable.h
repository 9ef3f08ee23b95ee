#pragma once

#include <chrono>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "simulator/CommandParser.h"
#include "simulator/InstrumentState.h"
#include "simulator/MeasurementEngine.h"
#include "simulator/ReplyQueue.h"
#include "simulator/StatusModel.h"
#include "simulator/SweepController.h"

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
    bool SwitchWord(const Command& command, bool& on) {
        if (command.text.empty() || command.text == "ON") {
            on = true;
        } else if (command.text == "OFF") {
            on = false;
        } else {
            CommandError();
            return false;
        }
        return true;
    }
};

// The analyzer's vocabulary: each header with its argument and what it does.
class CommandTable {
public:
    using Handler = std::function<void(const Command&, CommandContext&)>;

    void Add(std::string header, ArgumentKind kind, Handler handler) {
        entries_[std::move(header)] = Entry{kind, std::move(handler)};
    }
    std::optional<ArgumentKind> KindOf(std::string_view header) const {
        const auto it = entries_.find(header);
        if (it == entries_.end()) return std::nullopt;
        return it->second.kind;
    }
    const Handler* HandlerOf(std::string_view header) const {
        const auto it = entries_.find(header);
        return it == entries_.end() ? nullptr : &it->second.handler;
    }

private:
    struct Entry {
        ArgumentKind kind = ArgumentKind::None;
        Handler handler;
    };
    std::map<std::string, Entry, std::less<>> entries_;
};

}  // namespace kelvane
