#include "simulator/commands/StatusCommands.h"

#include <string>

namespace kelvane {

namespace {

// A register value: a whole number from 0 to max.
template <typename Apply>
CommandTable::Handler RegisterValue(int max, Apply apply) {
    return [max, apply](const Command& command, CommandContext& context) {
        if (const auto value = context.WholeNumber(command, 0, max)) apply(context.status, *value);
    };
}

void Answer(CommandContext& context, int value) {
    context.replies.Push(std::to_string(value), context.now);
}

}  // namespace

void StatusCommands::Register(CommandTable& table) {
    using Kind = ArgumentKind;
    table.Add("*CLS", Kind::None,
              [](const Command&, CommandContext& context) { context.status.Clear(context.now); });
    table.Add("*SRE", Kind::Number, RegisterValue(255, [](StatusModel& status, int value) {
                  status.SetServiceRequestEnable(value);
              }));
    table.Add("*SRE?", Kind::None, [](const Command&, CommandContext& context) {
        Answer(context, context.status.ServiceRequestEnable());
    });
    table.Add("*ESE", Kind::Number, RegisterValue(255, [](StatusModel& status, int value) {
                  status.SetEventStatusEnable(value);
              }));
    table.Add("*ESE?", Kind::None, [](const Command&, CommandContext& context) {
        Answer(context, context.status.EventStatusEnable());
    });
    table.Add("*STB?", Kind::None, [](const Command&, CommandContext& context) {
        Answer(context, context.status.StatusByte(context.now, !context.replies.Empty()));
    });
    table.Add("*ESR?", Kind::None, [](const Command&, CommandContext& context) {
        Answer(context, context.status.ReadEventStatus());
    });
    table.Add("*IDN?", Kind::None, [](const Command&, CommandContext& context) {
        context.replies.Push("KELVANE,SIMULATED ANALYZER,0,1.2", context.now);
    });
    table.Add("OPR", Kind::Number, RegisterValue(65535, [](StatusModel& status, int value) {
                  status.SetOperationEnable(value);
              }));
}

}  // namespace kelvane
