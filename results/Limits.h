#pragma once

#include <array>
#include <optional>
#include <string_view>
#include <vector>

#include "measurements/MeasurementResult.h"
#include "measurements/PathLoss.h"
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
// The narrowest occupied bandwidth that is a measurement (Hz): a bandwidth at or below 0, or a
// denormal such as 4.9e-324 that the log shows as 0.000 MHz, is none.
inline constexpr double kSmallestBandwidthHz = 1.0;
// How far an answer's channel offset may lie from the channel it is judged as: 1 %.
inline constexpr double kAdjacentChannelOffsetTolerance = 0.01;

// A WLAN mask row passes only when its level is not over the mask by more than this (dB): the
// analyzer's PASS alone does not make it one.
inline constexpr double kMaskToleranceDb = 0.01;

// What a result's values are judged against besides their own limits: the emission mask (by
// offset from the carrier, either side), whether its levels rest on the peak measured at the
// analyzer (so that at the DUT they lie higher by the path loss, as the levels do), and the path
// loss that turns the analyzer's absolute levels into the DUT's.
struct LimitBasis {
    std::vector<MaskSegment> mask;
    bool maskFollowsPathLoss = false;
    PathLoss pathLoss;
};

// The emission mask of TS 25.104 for a base station of rated maximum output power P (dBm), by
// offset from the carrier: 2.515-2.715 MHz, 2.715-3.515 MHz (falling 15 dB per MHz), 3.515-4.0
// MHz in 30 kHz, 4.0-8.0 MHz and 8.0-12.5 MHz in 1 MHz, with the levels for P >= 43, 39 <= P <
// 43, 31 <= P < 39 and P < 31 dBm.
std::vector<MaskSegment> BaseStationMask(double ratedPowerDbm);

// The emission mask's limit (dBm) for a row of the mask's result table, or nullopt when the
// row lies in no segment of the mask. The row's segment is the first one, in mask order, whose
// closed offset range holds the middle of the row's START-STOP range, its offset taken from
// `centerHz` on either side; the limit is that segment's straight line from its start level to
// its stop level, read at the row's FREQ offset (clamped into the segment's range).
std::optional<double> MaskLimitAt(const std::vector<MaskSegment>& mask, double centerHz,
                                  const MaskRow& row);

// One value of `result` with its limit, margin (limit - value, in the value's unit; dB for a
// level in dBm; both to 12 significant digits, without the arithmetic's last-digit noise) and
// whether it is inside. An absolute level is judged at the DUT: the analyzer's plus the path
// loss at its frequency (a mask row's FREQ, else the carrier). The occupied bandwidth passes
// only below its limit, and is judged only above 0 and within the span swept; an adjacent channel
// is judged only where the answer put it within 1 % of its offset; both pass also at the limit
// exactly, as mask rows do. A WLAN mask row fails when the analyzer says FAIL or its level is
// over the mask.
JudgedValue JudgeValue(const MeasuredValue& value, const MeasurementResult& result,
                       const LimitBasis& basis);

}  // namespace kelvane
