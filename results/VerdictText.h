#pragma once

#include <string>

#include "results/Verdict.h"

namespace kelvane {

// The verdict as the status line and the charts' titles give it: "PASS, worst margin 9.77 dB",
// "FAIL, worst margin -1.20 dB", "INCOMPLETE", or empty when the measurement has no limit. A margin
// in Hz is shown in MHz
// ("PASS, margin 0.833 MHz" for the one limited value of the occupied bandwidth).
std::string VerdictText(const Judgement& judgement);

// What a measurement that did not pass failed on, in one line for the operator and for scripts
// reading standard error: "FAIL, worst margin -1.80 dB (acp_upper_5mhz -43.20 dB, limit -45 dB)",
// the failing value with the smallest margin in brackets; "INCOMPLETE, <why>". Empty for a pass
// or a measurement without a limit.
std::string NotPassedText(const Judgement& judgement);

}  // namespace kelvane
