#include "simulator/commands/MeasurementSetupCommands.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "simulator/commands/CommandText.h"
#include "simulator/commands/Quantity.h"

namespace kelvane {

namespace {

// A frequency that must be positive.
template <typename Apply>
CommandTable::Handler PositiveFrequency(Apply apply) {
    return [apply](const Command& command, CommandContext& context) {
        if (command.value <= 0.0) {
            context.ExecutionError();
            return;
        }
        apply(context.state, command.value);
    };
}

template <typename Apply>
CommandTable::Handler Switch(Apply apply) {
    return [apply](const Command& command, CommandContext& context) {
        bool on = false;
        if (context.SwitchWord(command, on)) apply(context.state, on);
    };
}

// A "SEMTIN" row: start offset, stop offset, RBW, level at start, level at stop, two further
// levels and ABS or REL, comma-separated, blanks allowed around each field
// ("2.515MZ,2.715MZ, 30KZ, -14DB, -14DB, 0DB, 0DB,ABS"). No value when malformed.
std::optional<MaskTableRow> ParseMaskRow(std::string_view text) {
    const auto fields = CommandText::Fields(text);
    if (fields.size() != 8) return std::nullopt;
    const auto start = Quantity::Parse(fields[0], QuantityKind::Frequency);
    const auto stop = Quantity::Parse(fields[1], QuantityKind::Frequency);
    const auto rbw = Quantity::Parse(fields[2], QuantityKind::Frequency);
    double levels[4] = {};
    for (int i = 0; i < 4; ++i) {
        const auto level = Quantity::Parse(fields[3 + i], QuantityKind::Level);
        if (!level) return std::nullopt;
        levels[i] = *level;
    }
    const std::string word = CommandText::Upper(CommandText::Trimmed(fields[7]));
    if (!start || !stop || !rbw || (word != "ABS" && word != "REL")) return std::nullopt;
    return MaskTableRow{*start,    *stop,     *rbw,      levels[0],
                        levels[1], levels[2], levels[3], word == "ABS"};
}

// A "CSBSIN" row: offset, bandwidth ("5MZ,3.84MZ").
std::optional<AdjacentChannel> ParseAdjacentChannel(std::string_view text) {
    const auto fields = CommandText::Fields(text);
    if (fields.size() != 2) return std::nullopt;
    const auto offset = Quantity::Parse(fields[0], QuantityKind::Frequency);
    const auto bandwidth = Quantity::Parse(fields[1], QuantityKind::Frequency);
    if (!offset || !bandwidth) return std::nullopt;
    return AdjacentChannel{*offset, *bandwidth};
}

void AddMaskRow(const Command& command, CommandContext& context) {
    const auto segment = ParseMaskRow(command.text);
    if (!segment) {
        context.CommandError();
    } else if (segment->startOffsetHz < 0.0 || segment->stopOffsetHz <= segment->startOffsetHz ||
               !(segment->rbwHz >= kMinRbwHz && segment->rbwHz <= kMaxBandwidthHz)) {
        // A bandwidth the analyzer does not have, as "RB" would refuse it.
        context.ExecutionError();
    } else {
        context.state.maskTable.push_back(*segment);
    }
}

void AddAdjacentChannel(const Command& command, CommandContext& context) {
    const auto channel = ParseAdjacentChannel(command.text);
    if (!channel) {
        context.CommandError();
    } else if (channel->offsetHz <= 0.0 || channel->bandwidthHz <= 0.0) {
        context.ExecutionError();
    } else {
        context.state.adjacentChannels.push_back(*channel);
    }
}

void SetMaskReference(const Command& command, CommandContext& context) {
    if (command.text == "CHN" || command.text == "PEAK")
        context.state.maskReferenceIsPeak = command.text == "PEAK";
    else
        context.CommandError();
}

void SetPowerAverageCount(const Command& command, CommandContext& context) {
    if (const auto count = context.WholeNumber(command, 1, InstrumentState::kMaxAverageCount))
        context.state.powerAverageCount = *count;
}

}  // namespace

void MeasurementSetupCommands::Register(CommandTable& table) {
    using Kind = ArgumentKind;
    using State = InstrumentState;
    table.Add("SEMCBW", Kind::Frequency,
              PositiveFrequency([](State& s, double v) { s.maskChannelBandwidthHz = v; }));
    table.Add("SEMRFCALC", Kind::Word, SetMaskReference);
    table.Add("SEMRPFCALC", Kind::Word, SetMaskReference);
    table.Add("SEMNQST", Kind::Word, Switch([](State& s, bool on) { s.maskNqstOn = on; }));
    table.Add("SEMTDEL", Kind::None,
              [](const Command&, CommandContext& context) { context.state.maskTable.clear(); });
    table.Add("SEMTIN", Kind::List, AddMaskRow);
    table.Add("SEMON", Kind::OptionalWord, Switch([](State& s, bool on) { s.maskOn = on; }));

    table.Add("OBWPER", Kind::Number, [](const Command& command, CommandContext& context) {
        if (command.value > 0.0 && command.value < 100.0)
            context.state.obwPercent = command.value;
        else
            context.ExecutionError();
    });
    table.Add("OBWON", Kind::OptionalWord, Switch([](State& s, bool on) { s.obwOn = on; }));

    table.Add("ACPSCR", Kind::Word, [](const Command& command, CommandContext& context) {
        if (command.text != "CARR") context.CommandError();
    });
    table.Add("CARRBS", Kind::Frequency,
              PositiveFrequency([](State& s, double v) { s.carrierBandwidthHz = v; }));
    table.Add("CSBSDEL", Kind::None, [](const Command&, CommandContext& context) {
        context.state.adjacentChannels.clear();
    });
    table.Add("CSBSIN", Kind::List, AddAdjacentChannel);
    table.Add("ACP", Kind::OptionalWord, Switch([](State& s, bool on) { s.acpOn = on; }));

    table.Add("WLX", Kind::Frequency, PositiveFrequency([](State& s, double v) {
                  s.powerChannelCenterHz = v;
                  s.powerChannelCenterSet = true;
              }));
    table.Add("WDX", Kind::Frequency,
              PositiveFrequency([](State& s, double v) { s.powerChannelWidthHz = v; }));
    table.Add("PWCHON", Kind::None, [](const Command&, CommandContext& context) {
        context.state.power = PowerFunction::Channel;
    });
    table.Add("PWTOTALON", Kind::None, [](const Command&, CommandContext& context) {
        context.state.power = PowerFunction::Total;
    });
    table.Add("PMEASOFF", Kind::None, [](const Command&, CommandContext& context) {
        context.state.power = PowerFunction::Off;
        context.status.CancelOperationEnd(StatusModel::kChannelPowerAveraged);
    });
    table.Add("PMEASAVGONCE", Kind::Word, [](const Command& command, CommandContext& context) {
        if (command.text == "ONCE" || command.text == "CONT")
            context.state.powerAveragingOnce = command.text == "ONCE";
        else
            context.CommandError();
    });
    table.Add("PWCHTM", Kind::Number, SetPowerAverageCount);
    table.Add("PMEASAVG", Kind::Word, Switch([](State& s, bool on) { s.powerAveragingOn = on; }));
    table.Add("PMEASAVGOFF", Kind::None, [](const Command&, CommandContext& context) {
        context.state.powerAveragingOn = false;
    });
}

}  // namespace kelvane
