#pragma once

#include "charts/ChartModel.h"
#include "results/MeasurementRecord.h"

namespace kelvane {

// The drawing of an emission mask record (W-CDMA, 802.11a, 802.11b), without title and facts,
// at the DUT:
//  - x: the offset from the carrier in MHz, both sides, at most half the span the measurement
//    swept (+-10 MHz for the W-CDMA mask, +-40 MHz for the WLAN masks); y: the level in dBm,
//    titled "Level at the DUT (dBm)" where the set-up has a path loss, else "Level (dBm)";
//    both hold the mask and the rows near it (ChartAxes.h);
//  - lines: the limit mask the rows were judged against (Judgement::limitMask), per segment its
//    lower side (mirrored to negative offsets) then its upper side, each from left to right;
//    tone Limit. Where the limit follows the path loss (WLAN), each point lies higher by the
//    loss at its side's frequency, with the path loss table's rows inside a segment as points
//    of their own. A flat segment's upper side is labelled with its level ("limit -13 dBm");
//  - spans: each row's START-STOP as a bracket along the bottom of the plot (Neutral), rows
//    taking turns between two lanes; a range is never drawn at the row's level, where it would
//    cross a sloping limit line that the row passes;
//  - markers: each row's worst point (FREQ, and the level at the DUT, JudgedValue::value),
//    toned by the row's verdict (Pass/Fail; a WLAN row by the analyzer's word; Neutral with
//    neither), labelled with its margin ("+57.29 dB"), or without a margin with the analyzer's
//    word ("FAIL") or "no limit". A point beyond the axes stands at their end, off-scale, its
//    level ("1.00e+300 dBm, -1.00e+300 dB") or offset (" at 12.000 MHz") in its label;
//  - legend: limit, row's range, worst point (pass), fail.
// A row whose numbers are not all finite has neither span nor marker.
ChartModel EmissionMaskChart(const MeasurementRecord& record);

}  // namespace kelvane
