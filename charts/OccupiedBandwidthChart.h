#pragma once

#include "charts/ChartModel.h"
#include "results/MeasurementRecord.h"

namespace kelvane {

// The drawing of an occupied bandwidth record, without title and facts:
//  - x: the offset from the carrier in MHz; y: no scale (empty title, no ticks, 0 to 1), since
//    the record holds no levels;
//  - bands: first the limit, -2.5 to +2.5 MHz, tone Limit, labelled "limit 5 MHz"; then the
//    occupied band, the occupied bandwidth wide around the band's center (its offset from the
//    carrier), toned by its verdict, labelled "OBW 4.167 MHz, center 2000.000 MHz". Before the
//    center was logged, the band lies around the carrier and its label names no center.
ChartModel OccupiedBandwidthChart(const MeasurementRecord& record);

}  // namespace kelvane
