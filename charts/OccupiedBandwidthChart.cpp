#include "charts/OccupiedBandwidthChart.h"

#include <cmath>
#include <string>
#include <string_view>
#include <vector>

#include "charts/ChartAxes.h"
#include "charts/ChartOffScale.h"
#include "charts/ChartParts.h"
#include "results/Limits.h"

namespace kelvane {

namespace {

// Heights on the y axis, which runs from 0 to 1 without a scale: the occupied band's box, the
// limit's bracket above it.
constexpr double kBandBottom = 0.2;
constexpr double kBandTop = 0.55;
constexpr double kLimitBracket = 0.82;

const JudgedValue* ValueNamed(const Judgement& judgement, std::string_view name) {
    for (const JudgedValue& value : judgement.values)
        if (value.measured.name == name && std::isfinite(value.value)) return &value;
    return nullptr;
}

}  // namespace

ChartModel OccupiedBandwidthChart(const MeasurementRecord& record) {
    const double centerHz = record.result.centerHz;
    const double halfLimit = kOccupiedBandwidthLimitHz / 2e6;
    ChartModel model;
    const std::string limitText = "limit " + MegahertzNumber(kOccupiedBandwidthLimitHz) + " MHz";
    for (double x : {-halfLimit, halfLimit})
        model.lines.push_back({{{x, 0}, {x, 1}}, ChartTone::Limit, true});
    model.spans.push_back({-halfLimit, halfLimit, kLimitBracket, ChartTone::Limit, limitText});
    std::vector<double> offsets{-halfLimit, halfLimit};

    const JudgedValue* bandwidth = ValueNamed(record.judgement, "occupied_bandwidth");
    const JudgedValue* center = ValueNamed(record.judgement, "occupied_band_center");
    if (bandwidth) {
        const double widthMhz = bandwidth->value / 1e6;
        const double middle = center ? OffsetMhz(center->value, centerHz) : 0.0;
        model.bands.push_back({middle - widthMhz / 2, middle + widthMhz / 2, kBandBottom, kBandTop,
                               ToneOf(*bandwidth),
                               "OBW " + Decimals(widthMhz, kMhzDecimals) + " MHz"});
        offsets.insert(offsets.end(), {middle - widthMhz / 2, middle + widthMhz / 2});
        if (center) {
            model.markers.push_back(
                {{middle, (kBandBottom + kBandTop) / 2},
                 ChartTone::Neutral,
                 "center " + Decimals(center->value / 1e6, kMhzDecimals) + " MHz"});
            offsets.push_back(middle);
        }
    }

    // Half the span the measurement sweeps ("SP 10e6HZ"), MHz: the x axis ends there at most.
    constexpr double sweptHalfMhz = 5;
    model.x = SymmetricOffsetAxis(OffsetAxisTitle(centerHz), offsets, sweptHalfMhz);
    model.y = {"", 0, 1, {}};
    model.legend = {{ChartSymbol::DashedLine, ChartTone::Limit, limitText},
                    {ChartSymbol::Box, ChartTone::Pass, "occupied band (99 %), pass"},
                    {ChartSymbol::HatchedBox, ChartTone::Fail, "fail"},
                    {ChartSymbol::Dot, ChartTone::Neutral, "band's center"}};
    FitIntoAxes(model);
    return model;
}

}  // namespace kelvane
