#pragma once

#include "measurements/MeasurementResult.h"
#include "measurements/MeasurementSetup.h"
#include "results/Verdict.h"

namespace kelvane {

// Judges a result at the set-up it ran with: occupied bandwidth below 5 MHz, adjacent channel
// powers at or below -45 dB (+-5 MHz) and -50 dB (+-10 MHz) relative to the carrier, every mask
// row at or below its mask (the W-CDMA mask: the one for the set-up's base station power where
// it names one, else the mask sent; a WLAN row also by the analyzer's verdict); channel and total
// power have no limit. Absolute levels are judged at the DUT, behind the set-up's path loss
// (Limits.h). The worst margin leaves out the WLAN mask rows inside the channel.
Judgement Judge(const MeasurementResult& result, const MeasurementSetup& setup = {});

}  // namespace kelvane
