#pragma once

#include <string>
#include <vector>

#include "charts/ChartModel.h"

namespace kelvane {

// Axes with round ends and ticks for the charts. Values that are no finite number are left out.

// An offset axis symmetric around 0 that holds every offset (MHz) with 2.5 % room beyond the
// largest: it ends at +-n ticks, the tick step 1, 2 or 5 x 10^k MHz, at most 10 intervals in all
// (+-10 MHz every 2 MHz for a largest offset of 8 MHz, +-40 MHz every 10 MHz for 39 MHz).
// Without any offset, +-1 MHz.
ChartAxis SymmetricOffsetAxis(std::string title, const std::vector<double>& offsetsMhz);

// A level axis (dB or dBm) that holds every level with room for the labels beside them (3 dB or
// 5 % of the levels' spread, whichever is more) and ends on ticks every 10 dB, or every 20, 50,
// 100, 200 ... dB when 10 dB would give more than 10 intervals.
ChartAxis LevelAxis(std::string title, const std::vector<double>& levelsDb);

}  // namespace kelvane
