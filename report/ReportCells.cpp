#include "report/ReportCells.h"

#include <cmath>

#include "measurements/NumberForms.h"
#include "report/HtmlEscape.h"

namespace kelvane {

namespace {

bool InHertz(const std::string& unit) { return unit == "Hz"; }

// A number rounded to `step` and shown without trailing zeros.
std::string Rounded(double value, double step) {
    return GeneralNumber(std::round(value / step) * step);
}

std::string Badge(const char* kind, const char* symbol, const char* word) {
    // FAIL is strong: bold in grey, and for screen readers as well.
    const char* element = std::string_view(kind) == "fail" ? "strong" : "span";
    return std::string("<") + element + " class=\"verdict " + kind +
           "\"><span class=\"symbol\" aria-hidden=\"true\">" + symbol + "</span> " + word + "</" +
           element + ">";
}

}  // namespace

std::string ShownUnit(const std::string& unit) { return InHertz(unit) ? "MHz" : unit; }

std::string ValueText(double value, const std::string& unit) {
    return GeneralNumber(InHertz(unit) ? value / 1e6 : value);
}

std::string FrequencyText(double hz) { return GeneralNumber(hz / 1e6); }

std::string LimitText(const std::optional<double>& limit, const std::string& unit) {
    if (!limit) return {};
    return InHertz(unit) ? Rounded(*limit / 1e6, 1e-3) : Rounded(*limit, 1e-2);
}

std::string MarginText(const std::optional<double>& margin, const std::string& unit) {
    if (!margin) return {};
    std::string text =
        InHertz(unit) ? PatternNumber(*margin / 1e6, "0.000") : PatternNumber(*margin, "0.00");
    if (!text.starts_with("-")) text.insert(text.begin(), '+');
    return text;
}

std::string WorstMarginText(const Judgement& judgement) {
    if (!judgement.worstMargin) return {};
    return MarginText(judgement.worstMargin, judgement.marginUnit) + " " +
           ShownUnit(judgement.marginUnit);
}

std::string VerdictBadge(Verdict verdict) {
    switch (verdict) {
    case Verdict::Pass:
        return Badge("pass", "\u2713", "PASS");
    case Verdict::Fail:
        return Badge("fail", "\u2717", "FAIL");
    case Verdict::Incomplete:
        return Badge("incomplete", "?", "INCOMPLETE");
    case Verdict::None:
        break;
    }
    return Badge("none", "\u2013", "no limit");
}

std::string ValueVerdictCell(const JudgedValue& value) {
    std::string cell;
    if (value.passed) {
        cell = *value.passed ? Badge("pass", "\u2713", "PASS") : Badge("fail", "\u2717", "FAIL");
    } else if (!value.unjudged.empty()) {
        cell = Badge("incomplete", "?", "NOT JUDGED") + "<br><span class=\"note\">" +
               HtmlEscaped(value.unjudged) + "</span>";
    } else {
        cell = Badge("none", "\u2013", "no limit");
    }
    return cell;
}

}  // namespace kelvane
