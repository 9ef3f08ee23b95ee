#pragma once

#include "charts/ChartModel.h"
#include "results/MeasurementRecord.h"

namespace kelvane {

// The drawing of an occupied bandwidth record, without title and facts, as a strip:
//  - x: the offset from the carrier in MHz, at most the +-5 MHz the measurement sweeps; y: no
//    scale (empty title, no ticks, 0 to 1), since the record holds no levels;
//  - lines: the 5 MHz limit's edges at -2.5 and +2.5 MHz, dashed over the whole height (over
//    the occupied band's hatching); spans: the limit's width between them at 0.82, labelled
//    "limit 5 MHz";
//  - bands: the occupied band from 0.2 to 0.55, the occupied bandwidth wide around the band's
//    center (its offset from the carrier), toned by its verdict, labelled "OBW 4.167 MHz"; cut
//    at the x axis' ends, off-scale, where it is wider;
//  - markers: the band's center in its middle, Neutral, labelled "center 2000.000 MHz". Before
//    the center was logged, the band lies around the carrier and has no center marker;
//  - legend: the limit, the occupied band (pass), fail, the band's center.
ChartModel OccupiedBandwidthChart(const MeasurementRecord& record);

}  // namespace kelvane
