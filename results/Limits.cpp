#include "results/Limits.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace kelvane {

namespace {

// The level of a segment's straight line at an offset, clamped into the segment's range.
double SegmentLevelAt(const MaskSegment& segment, double offsetHz) {
    const double low = std::min(segment.startOffsetHz, segment.stopOffsetHz);
    const double high = std::max(segment.startOffsetHz, segment.stopOffsetHz);
    const double width = segment.stopOffsetHz - segment.startOffsetHz;
    if (width == 0) return segment.startLevelDbm;
    const double clamped = std::clamp(offsetHz, low, high);
    const double fraction = (clamped - segment.startOffsetHz) / width;
    return segment.startLevelDbm + (segment.stopLevelDbm - segment.startLevelDbm) * fraction;
}

// A limit or margin computed from decimal numbers, without the binary arithmetic's last-digit
// noise (-45 - -54.77 is 9.770000000000003): 12 significant digits, far below any resolution of
// the analyzer.
double Tidy(double value) {
    if (value == 0 || !std::isfinite(value)) return value;
    char digits[32];
    const auto written =
        std::to_chars(digits, digits + sizeof digits, value, std::chars_format::general, 12);
    double tidy = value;
    std::from_chars(digits, written.ptr, tidy);
    return tidy;
}

bool Holds(const MaskSegment& segment, double offsetHz) {
    const double low = std::min(segment.startOffsetHz, segment.stopOffsetHz);
    const double high = std::max(segment.startOffsetHz, segment.stopOffsetHz);
    return low <= offsetHz && offsetHz <= high;
}

}  // namespace

std::optional<double> MaskLimitAt(const std::vector<MaskSegment>& mask, double centerHz,
                                  const MaskRow& row) {
    // The middle of START-STOP lies well inside the segment the row was measured in, whereas
    // START and STOP themselves sit on its edges, shared with the neighbours.
    const double middleOffsetHz = std::abs((row.startHz + row.stopHz) / 2 - centerHz);
    for (const MaskSegment& segment : mask) {
        if (Holds(segment, middleOffsetHz))
            return Tidy(SegmentLevelAt(segment, std::abs(row.frequencyHz - centerHz)));
    }
    return std::nullopt;
}

JudgedValue JudgeValue(const MeasuredValue& value, const MeasurementResult& result) {
    JudgedValue judged{value, value.value, std::nullopt, std::nullopt, std::nullopt};
    if (value.row) {
        judged.limit = MaskLimitAt(result.mask, result.centerHz, *value.row);
        if (judged.limit) judged.margin = Tidy(*judged.limit - value.value);
        if (value.row->analyzerPassed) {
            judged.passed = value.row->analyzerPassed;
        } else if (judged.margin) {
            judged.passed = *judged.margin >= 0;
        }
        return judged;
    }
    if (value.name == "occupied_bandwidth") {
        judged.limit = kOccupiedBandwidthLimitHz;
        judged.margin = Tidy(kOccupiedBandwidthLimitHz - value.value);
        judged.passed = *judged.margin > 0;  // "less than 5 MHz"
        return judged;
    }
    for (const AdjacentChannel& channel : kAdjacentChannels) {
        if (value.name != channel.name) continue;
        judged.limit = channel.limitDb;
        judged.margin = Tidy(channel.limitDb - value.value);
        judged.passed = *judged.margin >= 0;
        break;
    }
    return judged;
}

}  // namespace kelvane
