#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "measurements/MeasurementResult.h"

namespace kelvane {

// A measurement's verdict against its limits:
//   Pass        it completed, and every value with a limit is inside it (and there is one);
//   Fail        a value is outside its limit, whatever else happened;
//   None        it completed, and has no value with a limit (channel power, total power);
//   Incomplete  it failed or ended with a warning, or a mask row could not be judged (its range
//               lies in no segment of the mask), and no value is outside.
enum class Verdict { Pass, Fail, None, Incomplete };

// "pass", "fail", "none", "incomplete".
std::string_view VerdictName(Verdict verdict);

// A value with its limit, where it has one. The margin is the distance to the limit in the
// value's unit, positive inside: limit - value for an upper limit (all of Kelvane's limits).
struct JudgedValue {
    MeasuredValue measured;  // as the analyzer answered it
    // The value judged: an absolute level (dBm) at the DUT, the analyzer's plus the path loss at
    // its frequency; any other value as the analyzer answered it.
    double value = 0;
    std::optional<double> limit;  // for a mask row at the DUT too
    std::optional<double> margin;
    // With a limit: inside it. A WLAN mask row: inside when the analyzer says PASS and the level
    // is not over the mask (margin -0.01 dB or more); the analyzer's word alone where the mask
    // Kelvane sent has no segment for the row (then without limit and margin). None for a value
    // that cannot be judged (unjudged says why).
    std::optional<bool> passed;
    // Why a value with a limit could not be judged: "not above 0 Hz", "answered at -1 MHz, not at
    // -5 MHz", "in no segment of the mask"; empty when judged.
    std::string unjudged;
    // A WLAN mask row inside the channel, where the mask rests 2 dB above the measured peak: it
    // is judged, but its margin says nothing of the emissions and is left out of the worst.
    bool inChannel = false;

    bool operator==(const JudgedValue&) const = default;
};

// Which limits an emission mask's rows were judged against.
enum class MaskLimits {
    None,     // no mask
    Sent,     // the mask Kelvane sent the analyzer
    BsPower,  // the W-CDMA base station mask for the rated power (MeasurementSetup::bsPowerDbm)
};

// A measurement's result judged against its limits (Limits.h, Judgement.h).
struct Judgement {
    std::vector<JudgedValue> values;  // in the order of the result's values
    Verdict verdict = Verdict::None;
    std::optional<double> worstMargin;      // the smallest margin of a value with a limit
    std::string marginUnit;                 // of the worst margin: "dB" or "Hz"; empty without one
    std::optional<std::size_t> worstValue;  // the index in values of the worst margin's value
    // Why an incomplete verdict is one: the failure or warning line of the run, or the first
    // value that could not be judged ("occupied_bandwidth -4167812 Hz: not above 0 Hz").
    std::string incompleteReason;
    // An emission mask's limit line, by offset from the carrier on either side (dBm): the mask
    // sent, or the one for the base station's power. A WLAN mask rests on the measured peak
    // at the analyzer, so at the DUT it lies higher by the path loss at each frequency
    // (limitFollowsPathLoss); the W-CDMA mask's levels are at the DUT as they stand.
    MaskLimits maskLimits = MaskLimits::None;
    std::vector<MaskSegment> limitMask;
    bool limitFollowsPathLoss = false;
};

}  // namespace kelvane
