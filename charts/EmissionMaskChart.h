#pragma once

#include "charts/ChartModel.h"
#include "results/MeasurementRecord.h"

namespace kelvane {

// The drawing of an emission mask record (W-CDMA, 802.11a, 802.11b), without title and facts:
//  - x: the offset from the carrier in MHz, both sides; y: the level in dBm;
//  - lines: the mask as sent, per segment its lower side (mirrored to negative offsets) then its
//    upper side, each from left to right; tone Limit;
//  - spans: each row's START-STOP at its ABS LEV, Neutral;
//  - markers: each row's worst point (FREQ, ABS LEV), toned by the row's verdict (Pass/Fail; a
//    WLAN row by the analyzer's word; Neutral with neither), labelled with its margin
//    ("+57.29 dB"), or without a margin with the analyzer's word ("FAIL") or "no limit".
// A row whose numbers are not all finite has neither span nor marker.
ChartModel EmissionMaskChart(const MeasurementRecord& record);

}  // namespace kelvane
