#include "results/Judgement.h"

#include <cmath>

#include "measurements/NumberForms.h"
#include "results/Limits.h"

namespace kelvane {

namespace {

// A margin is a difference: a level in dBm and a relative level in dB both give dB.
std::string MarginUnitOf(const std::string& valueUnit) { return valueUnit == "Hz" ? "Hz" : "dB"; }

// The mask the rows are judged against, and the path loss.
LimitBasis BasisFor(const MeasurementResult& result, const MeasurementSetup& setup,
                    Judgement& judgement) {
    LimitBasis basis{result.mask, result.maskOnMeasuredPeak, setup.pathLoss};
    if (result.mask.empty()) return basis;
    judgement.maskLimits = MaskLimits::Sent;
    if (!result.maskOnMeasuredPeak && setup.bsPowerDbm) {
        basis.mask = BaseStationMask(*setup.bsPowerDbm);
        judgement.maskLimits = MaskLimits::BsPower;
    }
    judgement.limitMask = basis.mask;
    judgement.limitFollowsPathLoss = basis.maskFollowsPathLoss;
    return basis;
}

// "occupied_bandwidth -4167812 Hz: not above 0 Hz".
std::string UnjudgedReason(const JudgedValue& value) {
    return value.measured.name + " " + GeneralNumber(value.value) + " " + value.measured.unit +
           ": " + value.unjudged;
}

}  // namespace

Judgement Judge(const MeasurementResult& result, const MeasurementSetup& setup) {
    Judgement judgement;
    const LimitBasis basis = BasisFor(result, setup, judgement);
    bool anyJudged = false;
    bool anyOutside = false;
    std::string unjudged;  // the first value with a limit that could not be judged
    for (const MeasuredValue& value : result.values) {
        JudgedValue judged = JudgeValue(value, result, basis);
        if (judged.passed) {
            anyJudged = true;
            anyOutside = anyOutside || !*judged.passed;
        } else if (!judged.unjudged.empty() && unjudged.empty()) {
            unjudged = UnjudgedReason(judged);
        }
        // A value that is no number (NaN) fails, but has no distance to its limit to show.
        const bool measurable = judged.margin && !std::isnan(*judged.margin) && !judged.inChannel;
        if (measurable && (!judgement.worstMargin || *judged.margin < *judgement.worstMargin)) {
            judgement.worstMargin = judged.margin;
            judgement.marginUnit = MarginUnitOf(value.unit);
            judgement.worstValue = judgement.values.size();
        }
        judgement.values.push_back(std::move(judged));
    }
    if (anyOutside) {
        judgement.verdict = Verdict::Fail;
    } else if (result.outcome != MeasurementOutcome::Completed || !unjudged.empty()) {
        judgement.verdict = Verdict::Incomplete;
        judgement.incompleteReason =
            result.outcome != MeasurementOutcome::Completed ? result.message : unjudged;
    } else {
        judgement.verdict = anyJudged ? Verdict::Pass : Verdict::None;
    }
    return judgement;
}

}  // namespace kelvane
