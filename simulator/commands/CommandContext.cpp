#include "simulator/commands/CommandContext.h"

#include <cmath>

namespace kelvane {

bool CommandContext::SwitchWord(const Command& command, bool& on) {
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

std::optional<int> CommandContext::WholeNumber(const Command& command, int min, int max) {
    if (command.value != std::floor(command.value) || command.value < min || command.value > max) {
        ExecutionError();
        return std::nullopt;
    }
    return static_cast<int>(command.value);
}

}  // namespace kelvane
