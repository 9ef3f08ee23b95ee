#include "charts/OccupiedBandwidthChart.h"

#include <cmath>
#include <string>
#include <string_view>
#include <vector>

#include "charts/ChartAxes.h"
#include "charts/ChartParts.h"
#include "results/Limits.h"

namespace kelvane {

namespace {

constexpr int kMhzDecimals = 3;

const JudgedValue* ValueNamed(const Judgement& judgement, std::string_view name) {
    for (const JudgedValue& value : judgement.values)
        if (value.measured.name == name && std::isfinite(value.measured.value)) return &value;
    return nullptr;
}

}  // namespace

ChartModel OccupiedBandwidthChart(const MeasurementRecord& record) {
    const double centerHz = record.result.centerHz;
    const double halfLimit = kOccupiedBandwidthLimitHz / 2e6;
    ChartModel model;
    model.bands.push_back({-halfLimit, halfLimit, ChartTone::Limit,
                           "limit " + MegahertzNumber(kOccupiedBandwidthLimitHz) + " MHz"});
    std::vector<double> offsets{-halfLimit, halfLimit};

    const JudgedValue* bandwidth = ValueNamed(record.judgement, "occupied_bandwidth");
    const JudgedValue* center = ValueNamed(record.judgement, "occupied_band_center");
    if (bandwidth) {
        const double widthMhz = bandwidth->measured.value / 1e6;
        const double middle = center ? OffsetMhz(center->measured.value, centerHz) : 0.0;
        std::string label = "OBW " + Decimals(widthMhz, kMhzDecimals) + " MHz";
        if (center)
            label += ", center " + Decimals(center->measured.value / 1e6, kMhzDecimals) + " MHz";
        model.bands.push_back(
            {middle - widthMhz / 2, middle + widthMhz / 2, ToneOf(*bandwidth), label});
        offsets.insert(offsets.end(), {middle - widthMhz / 2, middle + widthMhz / 2});
    }

    model.x = SymmetricOffsetAxis(OffsetAxisTitle(centerHz), offsets);
    model.y = {"", 0, 1, {}};
    return model;
}

}  // namespace kelvane
