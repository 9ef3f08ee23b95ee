#include "results/VerdictText.h"

#include <algorithm>
#include <cctype>

#include "measurements/NumberForms.h"

namespace kelvane {

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
