#pragma once

#include <optional>
#include <string>

#include "results/Verdict.h"

namespace kelvane {

// The cells of a report's tables, as HTML. Numbers are shown in the unit a bench reads them in:
// frequencies (Hz) in MHz, levels in dBm, relative powers in dB. Verdicts read in colour and in
// grey alike: a word, a symbol and a weight of their own (FAIL bold in a solid box, INCOMPLETE
// italic in a dashed one).

// "MHz" for "Hz", else the unit as it is.
std::string ShownUnit(const std::string& unit);
// A value in the shown unit, to 15 significant digits without trailing zeros: "-54.77",
// "4.167342" (MHz), "-24.28" (a level at the DUT, with the path loss added).
std::string ValueText(double value, const std::string& unit);
// A frequency in MHz as ValueText gives it: "1995.5".
std::string FrequencyText(double hz);
// A limit to the hundredth of a dB or the kHz: "-45", "-28.89", "5" (MHz); empty without one.
std::string LimitText(const std::optional<double>& limit, const std::string& unit);
// A margin with its sign, to the hundredth of a dB or the kHz: "+9.77", "-1.80", "+0.833" (MHz);
// empty without one.
std::string MarginText(const std::optional<double>& margin, const std::string& unit);
// The worst margin with its unit: "+9.74 dB", "+0.833 MHz"; empty without one.
std::string WorstMarginText(const Judgement& judgement);

// A measurement's verdict: "✓ PASS", "✗ FAIL", "? INCOMPLETE", "no limit".
std::string VerdictBadge(Verdict verdict);
// A value's verdict: PASS or FAIL where it was judged, "not judged" with the reason where it
// could not be, "no limit" where it has none.
std::string ValueVerdictCell(const JudgedValue& value);

}  // namespace kelvane
