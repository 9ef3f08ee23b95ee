#include "charts/EmissionMaskChart.h"

#include <cmath>
#include <initializer_list>
#include <string>
#include <vector>

#include "charts/ChartAxes.h"
#include "charts/ChartParts.h"

namespace kelvane {

namespace {

constexpr int kMarginDecimals = 2;

std::string MarkerLabel(const JudgedValue& value) {
    if (value.margin) return SignedDecimals(*value.margin, kMarginDecimals) + " dB";
    if (value.passed) return *value.passed ? "PASS" : "FAIL";
    return "no limit";
}

bool AllFinite(std::initializer_list<double> values) {
    for (double value : values)
        if (!std::isfinite(value)) return false;
    return true;
}

}  // namespace

ChartModel EmissionMaskChart(const MeasurementRecord& record) {
    const double centerHz = record.result.centerHz;
    ChartModel model;
    std::vector<double> offsets;
    std::vector<double> levels;

    for (const MaskSegment& segment : record.judgement.limitMask) {
        const double start = segment.startOffsetHz / 1e6;
        const double stop = segment.stopOffsetHz / 1e6;
        // 0 - x: a segment from the carrier on ends there at +0 on both sides, never at -0.
        model.lines.push_back(
            {{{0 - stop, segment.stopLevelDbm}, {0 - start, segment.startLevelDbm}},
             ChartTone::Limit});
        model.lines.push_back(
            {{{start, segment.startLevelDbm}, {stop, segment.stopLevelDbm}}, ChartTone::Limit});
        offsets.insert(offsets.end(), {start, stop});
        levels.insert(levels.end(), {segment.startLevelDbm, segment.stopLevelDbm});
    }

    for (const JudgedValue& value : record.judgement.values) {
        if (!value.measured.row) continue;
        const MaskRow& row = *value.measured.row;
        const double start = OffsetMhz(row.startHz, centerHz);
        const double stop = OffsetMhz(row.stopHz, centerHz);
        const double worst = OffsetMhz(row.frequencyHz, centerHz);
        const double level = value.measured.value;
        if (!AllFinite({start, stop, worst, level})) continue;
        model.spans.push_back({start, stop, level, ChartTone::Neutral});
        model.markers.push_back({{worst, level}, ToneOf(value), MarkerLabel(value)});
        offsets.insert(offsets.end(), {start, stop, worst});
        levels.push_back(level);
    }

    model.x = SymmetricOffsetAxis(OffsetAxisTitle(centerHz), offsets);
    model.y = LevelAxis("Level (dBm)", levels);
    return model;
}

}  // namespace kelvane
