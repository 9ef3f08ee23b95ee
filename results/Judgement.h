#pragma once

#include "measurements/MeasurementResult.h"
#include "results/Verdict.h"

namespace kelvane {

// Judges a result: occupied bandwidth below 5 MHz, adjacent channel powers at or below -45 dB
// (+-5 MHz) and -50 dB (+-10 MHz) relative to the carrier, every mask row at or below the mask
// the measurement sent (a WLAN row: the analyzer's verdict, with Kelvane's margin); channel and
// total power have no limit.
Judgement Judge(const MeasurementResult& result);

}  // namespace kelvane
