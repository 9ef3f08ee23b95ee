#pragma once

#include <optional>

#include "charts/ChartModel.h"
#include "results/MeasurementRecord.h"

namespace kelvane {

// The chart of a record: the three emission masks, ACP and OBW have one; channel power and total
// power have none (a single number), nor has a measurement that logged no value. A run that
// failed after logging some values gets the chart of those (EmissionMaskChart.h,
// AdjacentChannelChart.h and OccupiedBandwidthChart.h give the details). Values are drawn at the
// DUT (JudgedValue::value); every element lies inside the axes, a value beyond them off-scale.
//  - Masks: x the offset from the carrier in MHz (both sides), y the level in dBm; the limit
//    mask as limit lines (one per segment and side); each row's START-STOP as a bracket along
//    the bottom; its worst point (FREQ, level) as a marker, toned by its verdict (a WLAN row:
//    the analyzer's word), labelled with its margin.
//  - ACP: x the offset in MHz, y dB relative to the carrier; the carrier as a bar at 0 dBc, the
//    four adjacent channels as bars at their offsets (3.84 MHz wide) toned by their verdicts,
//    labelled with value and margin; the -45/-50 dB limits as lines over their channels.
//  - OBW: x the offset from the carrier in MHz; the 5 MHz limit's edges as dashed lines, the
//    occupied band as a box between them, its center as a marker.
// The facts: the measurement and its log title, the carrier, the reference level, the path loss
// (where there is one), the limits, the DUT (where named), the time and Kelvane's version, and a
// failure or warning line.
std::optional<ChartModel> ChartFor(const MeasurementRecord& record);

}  // namespace kelvane
