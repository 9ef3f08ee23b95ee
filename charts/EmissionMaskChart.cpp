#include "charts/EmissionMaskChart.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "charts/ChartAxes.h"
#include "charts/ChartOffScale.h"
#include "charts/ChartParts.h"

namespace kelvane {

namespace {

// A mask whose run did not say what it swept: its outermost segment and a quarter more.
constexpr double kUnknownSpanShare = 1.25;

// The two lanes of the rows' brackets above the bottom of the plot, as shares of the y axis'
// height; neighbouring rows take turns, so that where one ends and the next begins shows.
constexpr double kLaneShares[] = {0.03, 0.065};

bool AllFinite(std::initializer_list<double> values) {
    return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

// Half the span the mask swept (MHz): the x axis ends there at most.
double SweptHalfMhz(const MeasurementRecord& record) {
    const double spanHz = record.result.spanHz;
    if (std::isfinite(spanHz) && spanHz > 0) return spanHz / 2 / 1e6;
    double outermost = 0;
    for (const MaskSegment& segment : record.judgement.limitMask) {
        for (double offset : {segment.startOffsetHz, segment.stopOffsetHz})
            if (std::isfinite(offset)) outermost = std::max(outermost, std::abs(offset) / 1e6);
    }
    return outermost > 0 ? outermost * kUnknownSpanShare : kMostOffsetMhz;
}

std::string MarkerLabel(const JudgedValue& value) {
    if (value.margin) return SignedDecimals(*value.margin, kLevelDecimals) + " dB";
    if (value.passed) return *value.passed ? "PASS" : "FAIL";
    return "no limit";
}

// The segment's straight line at an offset between its start and stop (Hz).
double SegmentLevelAt(const MaskSegment& segment, double offsetHz) {
    const double width = segment.stopOffsetHz - segment.startOffsetHz;
    if (width == 0) return segment.startLevelDbm;
    const double fraction = (offsetHz - segment.startOffsetHz) / width;
    return segment.startLevelDbm + (segment.stopLevelDbm - segment.startLevelDbm) * fraction;
}

// One side's line of a segment (side -1 below the carrier, +1 above it), left to right, at the
// DUT: where the limit follows the path loss, each point lies higher by the loss at its
// frequency, and the path loss table's rows inside the segment are points of their own (the
// loss runs straight only between them).
ChartPolyline LimitLine(const MaskSegment& segment, int side, const MeasurementRecord& record) {
    const double centerHz = record.result.centerHz;
    const PathLoss& loss = record.setup.pathLoss;
    const bool follows = record.judgement.limitFollowsPathLoss;
    std::vector<double> offsetsHz{segment.startOffsetHz, segment.stopOffsetHz};
    if (follows) {
        const double low = std::min(segment.startOffsetHz, segment.stopOffsetHz);
        const double high = std::max(segment.startOffsetHz, segment.stopOffsetHz);
        for (const PathLossPoint& point : loss.Points()) {
            const double offsetHz = side * (point.frequencyHz - centerHz);
            if (low < offsetHz && offsetHz < high) offsetsHz.push_back(offsetHz);
        }
    }
    ChartPolyline line{{}, ChartTone::Limit};
    for (double offsetHz : offsetsHz) {
        double level = SegmentLevelAt(segment, offsetHz);
        if (follows) level += loss.At(centerHz + side * offsetHz);
        // 0 * x: a segment from the carrier on ends there at +0 on both sides, never at -0.
        const double x = offsetHz == 0 ? 0.0 : side * offsetHz / 1e6;
        line.points.push_back({x, level});
    }
    std::sort(line.points.begin(), line.points.end(),
              [](const ChartPoint& a, const ChartPoint& b) { return a.x < b.x; });
    // A flat segment is labelled with its level once, on the upper side.
    if (side > 0 && segment.startLevelDbm == segment.stopLevelDbm) {
        const double middleHz = (segment.startOffsetHz + segment.stopOffsetHz) / 2;
        double level = segment.startLevelDbm;
        if (follows) level += loss.At(centerHz + middleHz);
        line.label = "limit " + ShortNumber(level, kLevelDecimals) + " dBm";
    }
    return line;
}

}  // namespace

ChartModel EmissionMaskChart(const MeasurementRecord& record) {
    const double centerHz = record.result.centerHz;
    ChartModel model;
    std::vector<double> offsets;
    std::vector<double> limits;
    std::vector<double> levels;

    for (const MaskSegment& segment : record.judgement.limitMask) {
        if (!AllFinite({segment.startOffsetHz, segment.stopOffsetHz, segment.startLevelDbm,
                        segment.stopLevelDbm}))
            continue;
        for (int side : {-1, 1}) {
            model.lines.push_back(LimitLine(segment, side, record));
            for (const ChartPoint& point : model.lines.back().points) {
                offsets.push_back(point.x);
                limits.push_back(point.y);
            }
        }
    }

    std::vector<const JudgedValue*> rows;
    for (const JudgedValue& value : record.judgement.values) {
        if (!value.measured.row) continue;
        const MaskRow& row = *value.measured.row;
        const double start = OffsetMhz(row.startHz, centerHz);
        const double stop = OffsetMhz(row.stopHz, centerHz);
        const double worst = OffsetMhz(row.frequencyHz, centerHz);
        if (!AllFinite({start, stop, worst, value.value})) continue;
        rows.push_back(&value);
        offsets.insert(offsets.end(), {start, stop, worst});
        levels.push_back(value.value);
    }

    model.x = SymmetricOffsetAxis(OffsetAxisTitle(centerHz), offsets, SweptHalfMhz(record));
    model.y = LevelAxis(record.setup.pathLoss.IsNone() ? "Level (dBm)" : "Level at the DUT (dBm)",
                        limits, levels);

    for (std::size_t i = 0; i < rows.size(); ++i) {
        const JudgedValue& value = *rows[i];
        const MaskRow& row = *value.measured.row;
        const double start = OffsetMhz(row.startHz, centerHz);
        const double stop = OffsetMhz(row.stopHz, centerHz);
        const ChartPoint worst{OffsetMhz(row.frequencyHz, centerHz), value.value};
        const double lane = model.y.min + kLaneShares[i % 2] * (model.y.max - model.y.min);
        model.spans.push_back({std::min(start, stop), std::max(start, stop), lane});
        // Beyond the axes the point stands at their end: its label gives its numbers.
        std::string label = MarkerLabel(value);
        const ChartOffScale offScale = OffScaleOf(model.x, model.y, worst);
        if (offScale.y != 0) label = Decimals(worst.y, kLevelDecimals) + " dBm, " + label;
        if (offScale.x != 0) label += " at " + Decimals(worst.x, kMhzDecimals) + " MHz";
        model.markers.push_back({worst, ToneOf(value), label});
    }

    model.legend = {{ChartSymbol::Line, ChartTone::Limit, "limit"},
                    {ChartSymbol::Bracket, ChartTone::Neutral, "row's range"},
                    {ChartSymbol::Dot, ChartTone::Pass, "worst point, pass"},
                    {ChartSymbol::Cross, ChartTone::Fail, "fail"}};
    FitIntoAxes(model);
    return model;
}

}  // namespace kelvane
