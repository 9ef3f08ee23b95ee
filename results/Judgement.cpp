#include "results/Judgement.h"

#include <cmath>

#include "results/Limits.h"

namespace kelvane {

namespace {

// A margin is a difference: a level in dBm and a relative level in dB both give dB.
std::string MarginUnitOf(const std::string& valueUnit) { return valueUnit == "Hz" ? "Hz" : "dB"; }

}  // namespace

Judgement Judge(const MeasurementResult& result) {
    Judgement judgement;
    bool anyJudged = false;
    bool anyOutside = false;
    // A mask row that nothing could judge (its range in no segment of the mask, e.g. an analyzer
    // that moved the center): the mask is not known to hold there.
    bool rowUnjudged = false;
    for (const MeasuredValue& value : result.values) {
        JudgedValue judged = JudgeValue(value, result);
        if (judged.passed) {
            anyJudged = true;
            anyOutside = anyOutside || !*judged.passed;
        } else if (value.row) {
            rowUnjudged = true;
        }
        // A value that is no number (NaN) fails, but has no distance to its limit to show.
        const bool measurable = judged.margin && !std::isnan(*judged.margin);
        if (measurable && (!judgement.worstMargin || *judged.margin < *judgement.worstMargin)) {
            judgement.worstMargin = judged.margin;
            judgement.marginUnit = MarginUnitOf(value.unit);
        }
        judgement.values.push_back(std::move(judged));
    }
    if (!result.mask.empty()) {
        judgement.maskLimits = MaskLimits::Sent;
        judgement.limitMask = result.mask;
    }
    if (anyOutside) {
        judgement.verdict = Verdict::Fail;
    } else if (result.outcome != MeasurementOutcome::Completed || rowUnjudged) {
        judgement.verdict = Verdict::Incomplete;
    } else {
        judgement.verdict = anyJudged ? Verdict::Pass : Verdict::None;
    }
    return judgement;
}

}  // namespace kelvane
