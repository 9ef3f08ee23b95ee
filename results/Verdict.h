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
    MeasuredValue measured;
    std::optional<double> limit;
    std::optional<double> margin;
    // With a limit: inside it. A WLAN mask row: the analyzer's word, also where the mask Kelvane
    // sent has no segment for the row (then without limit and margin).
    std::optional<bool> passed;

    bool operator==(const JudgedValue&) const = default;
};

// A measurement's result judged against its limits (Limits.h, Judgement.h).
struct Judgement {
    std::vector<JudgedValue> values;  // in the order of the result's values
    Verdict verdict = Verdict::None;
    std::optional<double> worstMargin;  // the smallest margin of a value with a limit
    std::string marginUnit;             // of the worst margin: "dB" or "Hz"; empty without one
};

}  // namespace kelvane
