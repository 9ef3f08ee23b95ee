#include "simulator/instrument/AnalyzerCore.h"

#include <algorithm>

#include "simulator/commands/MeasurementSetupCommands.h"
#include "simulator/commands/ResultQueries.h"
#include "simulator/commands/StatusCommands.h"
#include "simulator/commands/SweepCommands.h"

namespace kelvane {

AnalyzerCore::AnalyzerCore(const SimulatorOptions& options, std::uint32_t seed,
                           const SimulatedBench& bench)
    : sweep_(state_, status_),
      engine_(options, seed, bench),
      parser_([this](std::string_view header) { return table_.KindOf(header); }) {
    SweepCommands::Register(table_);
    MeasurementSetupCommands::Register(table_);
    StatusCommands::Register(table_);
    ResultQueries::Register(table_);
    sweep_.StartContinuous(std::chrono::nanoseconds(0));
}

void AnalyzerCore::Execute(std::string_view message, std::chrono::nanoseconds now) {
    if (!replies_.Empty()) {
        replies_.Clear();
        status_.SetEvent(StatusModel::kQueryError);
    }
    const auto parsed = parser_.Parse(message);
    CommandContext context{state_, status_, sweep_, engine_, replies_, now};
    for (const Command& command : parsed.commands) {
        context.now = std::max(now, sweep_.BusyUntil());
        (*table_.HandlerOf(command.header))(command, context);
    }
    if (parsed.malformed) status_.SetEvent(StatusModel::kCommandError);
}

}  // namespace kelvane
