#include "simulator/commands/SweepCommands.h"

#include "simulator/traces/TracePower.h"

namespace kelvane {

namespace {

constexpr double kMinSweepTimeS = 1e-3;

// A setting that shapes the trace: a continuous run starts over with it.
template <typename Apply>
CommandTable::Handler TraceSetting(double min, double max, Apply apply) {
    return [min, max, apply](const Command& command, CommandContext& context) {
        if (!(command.value >= min && command.value <= max)) {
            context.ExecutionError();
            return;
        }
        apply(context.state, command.value);
        context.sweep.RestartIfContinuous(context.now);
    };
}

void SetDetector(const Command& command, CommandContext& context) {
    if (command.text == "POS") {
        context.state.detector = Detector::PositivePeak;
    } else if (command.text == "SMP") {
        context.state.detector = Detector::Sample;
    } else if (command.text == "AVG") {
        context.state.detector = Detector::Average;
    } else {
        context.CommandError();
        return;
    }
    context.sweep.RestartIfContinuous(context.now);
}

void SetAverageDetector(const Command& command, CommandContext& context) {
    bool on = false;
    if (!context.SwitchWord(command, on)) return;
    context.state.detector = on ? Detector::Average : Detector::PositivePeak;
    context.sweep.RestartIfContinuous(context.now);
}

void SetAverageCount(const Command& command, CommandContext& context) {
    const auto count = context.WholeNumber(command, 1, InstrumentState::kMaxAverageCount);
    if (!count) return;
    context.state.averageCount = *count;
    context.state.averagingOn = true;
    context.sweep.RestartIfContinuous(context.now);
}

// Marker to the highest point of the current sweep; waits for that sweep to be done.
void PeakSearch(const Command&, CommandContext& context) {
    const SweepData data = context.sweep.DataAt(context.now, false);
    context.sweep.HoldUntil(data.readyAt);
    const Trace& trace = context.engine.MainTrace(context.state, data);
    context.state.markerOn = true;
    context.state.markerHz = trace.FrequencyHz(TracePower::PeakIndex(trace));
}

}  // namespace

void SweepCommands::Register(CommandTable& table) {
    using Kind = ArgumentKind;
    table.Add("SI", Kind::None, [](const Command&, CommandContext& context) {
        context.state.Preset();
        context.status.CancelOperationEnd(StatusModel::kSweepAveraged);
        context.status.CancelOperationEnd(StatusModel::kChannelPowerAveraged);
        context.sweep.StartContinuous(context.now);
    });
    table.Add("CF", Kind::Frequency,
              TraceSetting(1.0, 1e12, [](InstrumentState& s, double v) { s.centerHz = v; }));
    table.Add("SP", Kind::Frequency,
              TraceSetting(10.0, 1e12, [](InstrumentState& s, double v) { s.spanHz = v; }));
    table.Add("RL", Kind::Level, [](const Command& command, CommandContext& context) {
        context.state.referenceLevelDbm = command.value;
    });
    table.Add("RB", Kind::Frequency,
              TraceSetting(kMinRbwHz, kMaxBandwidthHz, [](InstrumentState& s, double v) {
                  s.rbwHz = v;
                  s.rbwAuto = false;
              }));
    table.Add("VB", Kind::Frequency,
              TraceSetting(1.0, kMaxBandwidthHz, [](InstrumentState& s, double v) {
                  s.vbwHz = v;
                  s.vbwAuto = false;
              }));
    table.Add("SW", Kind::Time,
              TraceSetting(kMinSweepTimeS, InstrumentState::kMaxSweepTimeS,
                           [](InstrumentState& s, double v) {
                               s.sweepTimeS = v;
                               s.sweepTimeAuto = false;
                           }));
    table.Add("AS", Kind::None, [](const Command&, CommandContext& context) {
        context.state.sweepTimeAuto = true;
        context.sweep.RestartIfContinuous(context.now);
    });
    table.Add("AL", Kind::None, [](const Command&, CommandContext& context) {
        context.state.attenuationAuto = true;
    });
    table.Add("DET", Kind::Word, SetDetector);
    table.Add("DETAA", Kind::Word, SetAverageDetector);
    table.Add("TS", Kind::None, [](const Command&, CommandContext& context) {
        context.sweep.StartSingle(context.now);
    });
    table.Add("CONTS", Kind::None, [](const Command&, CommandContext& context) {
        context.sweep.StartContinuous(context.now);
    });
    table.Add("AGSGL", Kind::None, [](const Command&, CommandContext& context) {
        context.state.averagingSingle = true;
    });
    table.Add("AG", Kind::Number, SetAverageCount);
    table.Add("AGR", Kind::None, [](const Command&, CommandContext& context) {
        context.state.averagingOn = true;
        context.sweep.RestartIfContinuous(context.now);
    });
    table.Add("AGS", Kind::None, [](const Command&, CommandContext& context) {
        context.state.averagingOn = false;
        context.status.CancelOperationEnd(StatusModel::kSweepAveraged);
    });
    table.Add("PS", Kind::None, PeakSearch);
    table.Add("MO", Kind::None,
              [](const Command&, CommandContext& context) { context.state.markerOn = false; });
}

}  // namespace kelvane
