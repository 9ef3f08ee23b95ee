#pragma once

#include <string>

#include "results/Verdict.h"

namespace kelvane {

// The verdict as the status line and the charts' titles give it: "PASS, worst margin 9.77 dB",
// "FAIL, worst margin -1.20 dB", "INCOMPLETE", or empty when the measurement has no limit. A margin
// in Hz is shown in MHz
// ("PASS, margin 0.833 MHz" for the one limited value of the occupied bandwidth).
std::string VerdictText(const Judgement& judgement);

}  // namespace kelvane
