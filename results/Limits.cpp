#include "results/Limits.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

#include "measurements/NumberForms.h"

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

// "-5 MHz", "1E+294 MHz".
std::string Megahertz(double hz) { return GeneralNumber(hz / 1e6) + " MHz"; }

// The segment of the mask that starts at the carrier (a WLAN mask's channel), if there is one.
const MaskSegment* ChannelSegment(const std::vector<MaskSegment>& mask) {
    for (const MaskSegment& segment : mask)
        if (segment.startOffsetHz == 0) return &segment;
    return nullptr;
}

void JudgeMaskRow(JudgedValue& judged, const MaskRow& row, const MeasurementResult& result,
                  const LimitBasis& basis) {
    judged.limit = MaskLimitAt(basis.mask, result.centerHz, row);
    if (judged.limit && basis.maskFollowsPathLoss)
        judged.limit = Tidy(*judged.limit + basis.pathLoss.At(row.frequencyHz));
    if (judged.limit) judged.margin = Tidy(*judged.limit - judged.value);
    if (row.analyzerPassed) {
        // A level that is no number is no level under the mask either.
        const bool overMask = judged.margin && !(*judged.margin >= -kMaskToleranceDb);
        judged.passed = *row.analyzerPassed && !overMask;
    } else if (judged.margin) {
        judged.passed = *judged.margin >= 0;
    } else {
        judged.unjudged = "in no segment of the mask";
    }
    const MaskSegment* channel = row.analyzerPassed ? ChannelSegment(basis.mask) : nullptr;
    const double middleOffsetHz = std::abs((row.startHz + row.stopHz) / 2 - result.centerHz);
    judged.inChannel = channel != nullptr && middleOffsetHz <= channel->stopOffsetHz;
}

void JudgeOccupiedBandwidth(JudgedValue& judged, double spanHz) {
    judged.limit = kOccupiedBandwidthLimitHz;
    const double bandwidthHz = judged.value;
    if (!(bandwidthHz >= kSmallestBandwidthHz) && !std::isnan(bandwidthHz)) {
        judged.unjudged = "below " + GeneralNumber(kSmallestBandwidthHz) + " Hz";
    } else if (spanHz > 0 && bandwidthHz > spanHz) {
        judged.unjudged = "wider than the " + Megahertz(spanHz) + " span swept";
    } else {
        judged.margin = Tidy(kOccupiedBandwidthLimitHz - bandwidthHz);
        judged.passed = *judged.margin > 0;  // "less than 5 MHz"
    }
}

void JudgeAdjacentChannel(JudgedValue& judged, const AdjacentChannel& channel) {
    judged.limit = channel.limitDb;
    const std::optional<double>& offsetHz = judged.measured.offsetHz;
    const double tolerance = std::abs(channel.offsetHz) * kAdjacentChannelOffsetTolerance;
    if (offsetHz && !(std::abs(*offsetHz - channel.offsetHz) <= tolerance)) {
        judged.unjudged =
            "answered at " + Megahertz(*offsetHz) + ", not at " + Megahertz(channel.offsetHz);
        return;
    }
    judged.margin = Tidy(channel.limitDb - judged.value);
    judged.passed = *judged.margin >= 0;
}

}  // namespace

std::vector<MaskSegment> BaseStationMask(double p) {
    // The levels of each offset range by power class: near the carrier, after the slope, and
    // from 4 and from 8 MHz on.
    double nearDbm = -14, farDbm = -26, from4Dbm = -13, from8Dbm = -13;
    if (p < 31) {
        nearDbm = -22, farDbm = -34, from4Dbm = -21, from8Dbm = -25;
    } else if (p < 39) {
        nearDbm = p - 53, farDbm = p - 65, from4Dbm = p - 52, from8Dbm = p - 56;
    } else if (p < 43) {
        from8Dbm = p - 56;
    }
    return {{2.515e6, 2.715e6, nearDbm, nearDbm},
            {2.715e6, 3.515e6, nearDbm, farDbm},  // -15 dB per MHz over 0.8 MHz
            {3.515e6, 4.0e6, farDbm, farDbm},
            {4.0e6, 8.0e6, from4Dbm, from4Dbm},
            {8.0e6, 12.5e6, from8Dbm, from8Dbm}};
}

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

JudgedValue JudgeValue(const MeasuredValue& value, const MeasurementResult& result,
                       const LimitBasis& basis) {
    JudgedValue judged{value, value.value, std::nullopt, std::nullopt, std::nullopt, {}, false};
    if (value.unit == "dBm" && !basis.pathLoss.IsNone()) {
        const double atHz = value.row ? value.row->frequencyHz : result.centerHz;
        judged.value = Tidy(value.value + basis.pathLoss.At(atHz));
    }
    if (value.row) {
        JudgeMaskRow(judged, *value.row, result, basis);
    } else if (value.name == "occupied_bandwidth") {
        JudgeOccupiedBandwidth(judged, result.spanHz);
    } else {
        for (const AdjacentChannel& channel : kAdjacentChannels) {
            if (value.name == channel.name) JudgeAdjacentChannel(judged, channel);
        }
    }
    return judged;
}

}  // namespace kelvane
