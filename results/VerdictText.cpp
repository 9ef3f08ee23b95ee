#include "results/VerdictText.h"

#include <algorithm>
#include <cctype>

#include "measurements/NumberForms.h"

namespace kelvane {

namespace {

// A value as a report line shows it: "-43.20 dB", "5.100 MHz".
std::string Shown(double value, const std::string& unit) {
    if (unit == "Hz") return PatternNumber(value / 1e6, "0.000") + " MHz";
    return PatternNumber(value, "0.00") + " " + unit;
}

// A limit in the fewest digits: "-45 dB", "5 MHz", "-28.8888888889 dBm".
std::string Limit(double limit, const std::string& unit) {
    if (unit == "Hz") return GeneralNumber(limit / 1e6) + " MHz";
    return GeneralNumber(limit) + " " + unit;
}

// The failing value the line names: the one with the smallest margin; one failed on the
// analyzer's word alone when none failed on its margin.
const JudgedValue* FailingValue(const Judgement& judgement) {
    const JudgedValue* failing = nullptr;
    for (const JudgedValue& value : judgement.values) {
        if (!value.passed || *value.passed) continue;
        const bool smaller =
            failing == nullptr ||
            (value.margin && (!failing->margin || *value.margin < *failing->margin));
        if (smaller) failing = &value;
    }
    return failing;
}

}  // namespace

std::string NotPassedText(const Judgement& judgement) {
    if (judgement.verdict == Verdict::Incomplete)
        return "INCOMPLETE, " + (judgement.incompleteReason.empty() ? std::string("not judged")
                                                                    : judgement.incompleteReason);
    if (judgement.verdict != Verdict::Fail) return {};
    std::string text = VerdictText(judgement);
    const JudgedValue* failing = FailingValue(judgement);
    if (failing == nullptr) return text;
    const std::string& unit = failing->measured.unit;
    text += " (" + failing->measured.name + " " + Shown(failing->value, unit);
    if (failing->limit) text += ", limit " + Limit(*failing->limit, unit);
    const bool overLimit = failing->margin && *failing->margin < 0;
    if (!overLimit && failing->measured.row && failing->measured.row->analyzerPassed)
        text += ", FAIL by the analyzer";
    return text + ")";
}

std::string VerdictText(const Judgement& judgement) {
    if (judgement.verdict == Verdict::None) return {};
    std::string text(VerdictName(judgement.verdict));
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    if (!judgement.worstMargin || judgement.verdict == Verdict::Incomplete) return text;
    const auto limited = std::count_if(judgement.values.begin(), judgement.values.end(),
                                       [](const JudgedValue& value) { return value.limit; });
    text += limited > 1 ? ", worst margin " : ", margin ";
    if (judgement.marginUnit == "Hz")
        return text + PatternNumber(*judgement.worstMargin / 1e6, "0.000") + " MHz";
    return text + PatternNumber(*judgement.worstMargin, "0.00") + " " + judgement.marginUnit;
}

}  // namespace kelvane
