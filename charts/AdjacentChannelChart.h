#pragma once

#include "charts/ChartModel.h"
#include "results/MeasurementRecord.h"

namespace kelvane {

// The width of a W-CDMA channel, of the carrier's and of each adjacent channel's bar (MHz).
inline constexpr double kChannelWidthMhz = 3.84;

// The drawing of an adjacent channel power record, without title and facts:
//  - x: the offset from the carrier in MHz; y: the power relative to the carrier in dB (dBc),
//    holding the limits, the carrier and the channels near them (ChartAxes.h);
//  - bars: first the carrier at 0 dBc, Neutral, labelled "carrier -10.18 dBm" (or "carrier"
//    before its power was logged); then each adjacent channel logged, in the log's order, at -10,
//    -5, +5 or +10 MHz up to its value (JudgedValue::value), toned by its verdict, labelled
//    "-54.78 dB (+9.78)"; a value beyond the y axis reaches its end, off-scale;
//  - lines: the limits, -50 dB at -10 MHz, -45 dB at -5 and +5 MHz, -50 dB at +10 MHz, each over
//    its channel's width, whether or not the channel was logged, labelled "limit -45 dB";
//  - legend: limit, carrier, channel power (pass), fail.
ChartModel AdjacentChannelChart(const MeasurementRecord& record);

}  // namespace kelvane
