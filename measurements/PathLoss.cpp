#include "measurements/PathLoss.h"

#include <algorithm>
#include <utility>

namespace kelvane {

PathLoss PathLoss::Fixed(double lossDb) {
    PathLoss loss;
    loss.lossDb_ = lossDb;
    return loss;
}

PathLoss PathLoss::Table(std::vector<PathLossPoint> points, std::string file) {
    PathLoss loss;
    loss.points_ = std::move(points);
    loss.file_ = std::move(file);
    return loss;
}

double PathLoss::At(double frequencyHz) const {
    if (points_.empty()) return lossDb_;
    if (frequencyHz <= points_.front().frequencyHz) return points_.front().lossDb;
    if (frequencyHz >= points_.back().frequencyHz) return points_.back().lossDb;
    const auto above = std::upper_bound(
        points_.begin(), points_.end(), frequencyHz,
        [](double hz, const PathLossPoint& point) { return hz < point.frequencyHz; });
    const PathLossPoint& high = *above;
    const PathLossPoint& low = *(above - 1);
    const double fraction = (frequencyHz - low.frequencyHz) / (high.frequencyHz - low.frequencyHz);
    return low.lossDb + (high.lossDb - low.lossDb) * fraction;
}

bool PathLoss::Covers(double lowHz, double highHz) const {
    if (points_.empty()) return true;
    return points_.front().frequencyHz <= lowHz && highHz <= points_.back().frequencyHz;
}

}  // namespace kelvane
