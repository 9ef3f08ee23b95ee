#pragma once

#include <array>
#include <optional>
#include <string_view>
#include <vector>

#include "measurements/MeasurementResult.h"
#include "results/Verdict.h"

namespace kelvane {

// Kelvane's fixed limits (3GPP TS 25.104): the occupied bandwidth must stay below 5 MHz
// (6.6.1); the adjacent channel leakage, relative to the carrier, at or below -45 dB at +-5 MHz
// and -50 dB at +-10 MHz (6.6.2.2).
inline constexpr double kOccupiedBandwidthLimitHz = 5e6;
inline constexpr double kAdjacentChannelLimit5MHzDb = -45.0;
inline constexpr double kAdjacentChannelLimit10MHzDb = -50.0;

// An adjacent channel of the ACP measurement: the name of its value in the result, its offset
// from the carrier (Hz, negative below it) and its limit relative to the carrier (dB).
struct AdjacentChannel {
    std::string_view name;
    double offsetHz;
    double limitDb;
};

// The four adjacent channels, lowest offset first; judged (JudgeValue) and drawn from here alone.
inline constexpr std::array<AdjacentChannel, 4> kAdjacentChannels{{
    {"acp_lower_10mhz", -10e6, kAdjacentChannelLimit10MHzDb},
    {"acp_lower_5mhz", -5e6, kAdjacentChannelLimit5MHzDb},
    {"acp_upper_5mhz", 5e6, kAdjacentChannelLimit5MHzDb},
    {"acp_upper_10mhz", 10e6, kAdjacentChannelLimit10MHzDb},
}};

// The emission mask's limit (dBm) for a row of the mask's result table, or nullopt when the
// row lies in no segment of the mask. The row's segment is the first one, in mask order, whose
// closed offset range holds the middle of the row's START-STOP range, its offset taken from
// `centerHz` on either side; the limit is that segment's straight line from its start level to
// its stop level, read at the row's FREQ offset (clamped into the segment's range).
std::optional<double> MaskLimitAt(const std::vector<MaskSegment>& mask, double centerHz,
                                  const MaskRow& row);

// One value of `result` with its limit, margin (limit - value, in the value's unit; dB for a
// level in dBm; both to 12 significant digits, without the arithmetic's last-digit noise) and
// whether it is inside. The occupied bandwidth passes only below its limit, adjacent channel powers
// and mask rows also at it exactly. A WLAN mask row (one with the analyzer's verdict) passes or
// fails by the analyzer's word, with Kelvane's limit and margin.
JudgedValue JudgeValue(const MeasuredValue& value, const MeasurementResult& result);

}  // namespace kelvane
