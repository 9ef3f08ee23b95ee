#include "charts/AdjacentChannelChart.h"

#include <cmath>
#include <vector>

#include "charts/ChartAxes.h"
#include "charts/ChartOffScale.h"
#include "charts/ChartParts.h"
#include "results/Limits.h"

namespace kelvane {

namespace {

const AdjacentChannel* ChannelNamed(const std::string& name) {
    for (const AdjacentChannel& channel : kAdjacentChannels)
        if (channel.name == name) return &channel;
    return nullptr;
}

std::string ChannelLabel(const JudgedValue& value) {
    std::string label = Decimals(value.value, kLevelDecimals) + " dB";
    if (value.margin) label += " (" + SignedDecimals(*value.margin, kLevelDecimals) + ")";
    return label;
}

}  // namespace

ChartModel AdjacentChannelChart(const MeasurementRecord& record) {
    constexpr double halfWidth = kChannelWidthMhz / 2;
    ChartModel model;
    std::vector<double> offsets{-halfWidth, halfWidth};
    std::vector<double> limits;
    std::vector<double> levels{0};

    ChartBar carrier{0, kChannelWidthMhz, 0, ChartTone::Neutral, "carrier"};
    for (const JudgedValue& value : record.judgement.values) {
        if (value.measured.name == "carrier_power" && std::isfinite(value.value))
            carrier.label += " " + Decimals(value.value, kLevelDecimals) + " dBm";
    }
    model.bars.push_back(carrier);

    for (const JudgedValue& value : record.judgement.values) {
        const AdjacentChannel* channel = ChannelNamed(value.measured.name);
        if (!channel || !std::isfinite(value.value)) continue;
        model.bars.push_back({channel->offsetHz / 1e6, kChannelWidthMhz, value.value, ToneOf(value),
                              ChannelLabel(value)});
        levels.push_back(value.value);
    }

    for (const AdjacentChannel& channel : kAdjacentChannels) {
        const double offsetMhz = channel.offsetHz / 1e6;
        model.lines.push_back(
            {{{offsetMhz - halfWidth, channel.limitDb}, {offsetMhz + halfWidth, channel.limitDb}},
             ChartTone::Limit,
             false,
             "limit " + ShortNumber(channel.limitDb, kLevelDecimals) + " dB"});
        offsets.insert(offsets.end(), {offsetMhz - halfWidth, offsetMhz + halfWidth});
        limits.push_back(channel.limitDb);
    }

    model.x = SymmetricOffsetAxis(OffsetAxisTitle(record.result.centerHz), offsets);
    model.y = LevelAxis("Power relative to the carrier (dBc)", limits, levels);
    model.legend = {{ChartSymbol::Line, ChartTone::Limit, "limit"},
                    {ChartSymbol::Box, ChartTone::Neutral, "carrier (0 dBc)"},
                    {ChartSymbol::Box, ChartTone::Pass, "channel power, pass"},
                    {ChartSymbol::HatchedBox, ChartTone::Fail, "fail"}};
    FitIntoAxes(model);
    return model;
}

}  // namespace kelvane
