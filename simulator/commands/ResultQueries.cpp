#include "simulator/commands/ResultQueries.h"

#include <string>

#include "simulator/commands/ReplyFormat.h"
#include "simulator/traces/TracePower.h"

namespace kelvane {

namespace {

using Format = ReplyFormat;

// The current sweep's data and main trace, or nothing (and an execution error) when the
// measurement function is off.
struct Sweep {
    SweepData data;
    const Trace* trace = nullptr;
};

Sweep CurrentSweep(CommandContext& context, bool functionOn, bool powerQuery = false) {
    if (!functionOn) {
        context.ExecutionError();
        return {};
    }
    Sweep sweep;
    sweep.data = context.sweep.DataAt(context.now, powerQuery);
    sweep.trace = &context.engine.MainTrace(context.state, sweep.data);
    return sweep;
}

void AnswerMarkerLevel(const Command&, CommandContext& context) {
    const Sweep sweep = CurrentSweep(context, context.state.markerOn);
    if (!sweep.trace) return;
    const double levelMw =
        sweep.trace->powerMw[TracePower::NearestIndex(*sweep.trace, context.state.markerHz)];
    context.replies.Push(Format::Level(TracePower::Dbm(levelMw)), sweep.data.readyAt);
}

void AnswerMaskRecords(const Command&, CommandContext& context) {
    const auto& state = context.state;
    if (!state.maskOn || state.maskTable.empty()) {
        context.ExecutionError();
        return;
    }
    const SweepData data = context.sweep.DataAt(context.now, false);
    for (const MaskRecord& r : context.engine.MaskRecords(state, data)) {
        const int segment = r.upperSide ? r.segment : -r.segment;
        context.replies.Push(std::to_string(segment) + "," + Format::Hz(r.startHz) + "," +
                                 Format::Hz(r.stopHz) + "," + Format::Hz(r.peakHz) + "," +
                                 Format::Level(r.absoluteDbm) + "," + Format::Level(r.relativeDb) +
                                 "," + (r.pass ? "PASS" : "FAIL"),
                             data.readyAt);
    }
}

void AnswerObw(const Command&, CommandContext& context) {
    const Sweep sweep = CurrentSweep(context, context.state.obwOn);
    if (!sweep.trace) return;
    const auto obw = TracePower::OccupiedBandwidth(*sweep.trace, context.state.obwPercent);
    context.replies.Push(Format::Hz(obw.centerHz) + "," + Format::Hz(obw.bandwidthHz),
                         sweep.data.readyAt);
}

double CarrierMw(const CommandContext& context, const Trace& trace) {
    return TracePower::ChannelMw(trace, context.state.centerHz, context.state.carrierBandwidthHz);
}

void AnswerAcp(const Command&, CommandContext& context) {
    const Sweep sweep = CurrentSweep(context, context.state.acpOn);
    if (!sweep.trace) return;
    const auto& trace = *sweep.trace;
    const double carrierMw = CarrierMw(context, trace);
    const double carrierDbm = TracePower::Dbm(carrierMw);
    context.replies.Push("0," + Format::Level(carrierDbm), sweep.data.readyAt);
    const double centerHz = context.state.centerHz;
    for (const auto& channel : context.state.adjacentChannels) {
        const auto relativeDb = [&](double channelCenterHz) {
            const double mw = TracePower::ChannelMw(trace, channelCenterHz, channel.bandwidthHz);
            return Format::Level(TracePower::Dbm(mw) - carrierDbm);
        };
        context.replies.Push(
            Format::Hz(-channel.offsetHz) + "," + relativeDb(centerHz - channel.offsetHz) + "," +
                Format::Hz(channel.offsetHz) + "," + relativeDb(centerHz + channel.offsetHz),
            sweep.data.readyAt);
    }
}

void AnswerCarrierPower(const Command&, CommandContext& context) {
    const Sweep sweep = CurrentSweep(context, context.state.acpOn);
    if (!sweep.trace) return;
    context.replies.Push(Format::Level(TracePower::Dbm(CarrierMw(context, *sweep.trace))),
                         sweep.data.readyAt);
}

void AnswerChannelPower(const Command&, CommandContext& context) {
    const auto& state = context.state;
    const Sweep sweep = CurrentSweep(context, state.power == PowerFunction::Channel, true);
    if (!sweep.trace) return;
    const double mw = TracePower::ChannelMw(*sweep.trace, state.PowerChannelCenterHz(),
                                            state.powerChannelWidthHz);
    context.replies.Push(Format::Level(TracePower::Dbm(mw)), sweep.data.readyAt);
}

void AnswerTotalPower(const Command&, CommandContext& context) {
    const Sweep sweep = CurrentSweep(context, context.state.power == PowerFunction::Total, true);
    if (!sweep.trace) return;
    context.replies.Push(Format::Level(TracePower::Dbm(TracePower::TotalMw(*sweep.trace))),
                         sweep.data.readyAt);
}

}  // namespace

void ResultQueries::Register(CommandTable& table) {
    table.Add("ML?", ArgumentKind::None, AnswerMarkerLevel);
    table.Add("SEM?", ArgumentKind::None, AnswerMaskRecords);
    table.Add("OBW?", ArgumentKind::None, AnswerObw);
    table.Add("ACP?", ArgumentKind::None, AnswerAcp);
    table.Add("ACPREF?", ArgumentKind::None, AnswerCarrierPower);
    table.Add("PWCH?", ArgumentKind::None, AnswerChannelPower);
    table.Add("PWTOTAL?", ArgumentKind::None, AnswerTotalPower);
}

}  // namespace kelvane
