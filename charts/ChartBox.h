#pragma once

#include <algorithm>
#include <optional>
#include <utility>

#include "charts/ChartModel.h"

namespace kelvane {

// An upright box on a chart, its ends lowest first: the axes' ends in their units, or a plot's
// edges in pixels.
struct ChartBox {
    double xMin, xMax, yMin, yMax;

    double ClampX(double x) const { return std::clamp(x, xMin, xMax); }
    double ClampY(double y) const { return std::clamp(y, yMin, yMax); }

    // Where the straight line from `from` by `step` (the points from + t step, 0 <= t <= 1) lies
    // inside the box: the t at which it enters and the t at which it leaves, none where it misses
    // the box (Liang-Barsky: each side narrows t).
    std::optional<std::pair<double, double>> Inside(const ChartPoint& from,
                                                    const ChartPoint& step) const;
};

}  // namespace kelvane
