#include "simulator/MeasurementSetupCommands.h"

#include <cmath>
#include <string>
#include <vector>

#include "simulator/Quantity.h"

namespace kelvane {

namespace {

constexpr int kMaxAverageCount = 999;

std::vector<std::string_view> SplitFields(std::string_view text) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = text.find(',', start);
        fields.push_back(
            text.substr(start, comma == std::string_view::npos ? comma : comma - start));
        if (comma == std::string_view::npos) return fields;
        start = comma + 1;
    }
}

std::string TrimmedUpper(std::string_view text) {
    std::string out;
    for (char c : text)
        if (c != ' ' && c != '\t')
            out += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

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

void AddMaskSegment(const Command& command, CommandContext& context) {
    const auto segment = MeasurementSetupCommands::ParseMaskSegment(command.text);
    if (!segment) {
        context.CommandError();
    } else if (segment->startOffsetHz < 0.0 || segment->stopOffsetHz <= segment->startOffsetHz ||
               segment->rbwHz <= 0.0) {
        context.ExecutionError();
    } else {
        context.state.maskTable.push_back(*segment);
    }
}

void AddAdjacentChannel(const Command& command, CommandContext& context) {
    const auto channel = MeasurementSetupCommands::ParseAdjacentChannel(command.text);
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
    if (command.value != std::floor(command.value) || command.value < 1 ||
        command.value > kMaxAverageCount)
        context.ExecutionError();
    else
        context.state.powerAverageCount = static_cast<int>(command.value);
}

}  // namespace

std::optional<MaskSegment> MeasurementSetupCommands::ParseMaskSegment(std::string_view text) {
    const auto fields = SplitFields(text);
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
    const std::string word = TrimmedUpper(fields[7]);
    if (!start || !stop || !rbw || (word != "ABS" && word != "REL")) return std::nullopt;
    return MaskSegment{*start,    *stop,     *rbw,      levels[0],
                       levels[1], levels[2], levels[3], word == "ABS"};
}

std::optional<AdjacentChannel> MeasurementSetupCommands::ParseAdjacentChannel(
    std::string_view text) {
    const auto fields = SplitFields(text);
    if (fields.size() != 2) return std::nullopt;
    const auto offset = Quantity::Parse(fields[0], QuantityKind::Frequency);
    const auto bandwidth = Quantity::Parse(fields[1], QuantityKind::Frequency);
    if (!offset || !bandwidth) return std::nullopt;
    return AdjacentChannel{*offset, *bandwidth};
}

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
    table.Add("SEMTIN", Kind::List, AddMaskSegment);
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
