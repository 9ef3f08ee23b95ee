#include "charts/ChartBox.h"

#include <array>

namespace kelvane {

std::optional<std::pair<double, double>> ChartBox::Inside(const ChartPoint& from,
                                                          const ChartPoint& step) const {
    const std::array<double, 4> p{-step.x, step.x, -step.y, step.y};
    const std::array<double, 4> q{from.x - xMin, xMax - from.x, from.y - yMin, yMax - from.y};
    double enter = 0;
    double leave = 1;
    for (std::size_t i = 0; i < p.size(); ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) return std::nullopt;  // parallel to this side and beyond it
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0) {
            enter = std::max(enter, t);
        } else {
            leave = std::min(leave, t);
        }
    }
    if (enter > leave) return std::nullopt;
    return std::pair{enter, leave};
}

}  // namespace kelvane
