#pragma once

#include <string>
#include <vector>

#include "charts/ChartModel.h"

namespace kelvane {

// Axes with round ends and ticks for the charts, holding what is sane to show: values that are
// no finite number are left out, and so are values far beyond what the chart is about (the span
// swept, the limits); those are drawn at the axis' end, off-scale (ChartOffScale.h).

// No offset (MHz) and no level (dB, dBm) that a bench sees lies beyond these.
inline constexpr double kMostOffsetMhz = 1000;
inline constexpr double kMostLevelDb = 500;
// How far beyond its limits a level still widens the level axis (dB).
inline constexpr double kLevelsBeyondLimitsDb = 100;

// An offset axis symmetric around 0 that holds every offset (MHz) with 2.5 % room beyond the
// largest, but reaches no further than `mostHalfMhz` (half the span swept; at most
// kMostOffsetMhz): it ends at +-n ticks, the tick step 1, 2 or 5 x 10^k MHz, at most 10
// intervals in all (+-10 MHz every 2 MHz for a largest offset of 8 MHz, +-40 MHz every 10 MHz
// for 39 MHz). Without any offset, +-1 MHz.
ChartAxis SymmetricOffsetAxis(std::string title, const std::vector<double>& offsetsMhz,
                              double mostHalfMhz = kMostOffsetMhz);

// A level axis (dB or dBm) that holds the limits and the values near them, with room for the
// labels beside them (3 dB or 5 % of the levels' spread, whichever is more), and ends on ticks
// every 10 dB, or every 20, 50, 100, 200 ... dB when 10 dB would give more than 10 intervals.
// A value counts only within kLevelsBeyondLimitsDb of the limits (without limits, within
// +-kMostLevelDb), so that the limit lines keep their shape beside an absurd value; a limit
// beyond +-kMostLevelDb does not count either.
ChartAxis LevelAxis(std::string title, const std::vector<double>& limitsDb,
                    const std::vector<double>& valuesDb);

}  // namespace kelvane
