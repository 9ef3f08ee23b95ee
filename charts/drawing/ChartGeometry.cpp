#include "charts/drawing/ChartGeometry.h"

#include <algorithm>
#include <cmath>

#include "charts/ChartBox.h"

namespace kelvane {

namespace {

// An axis without extent maps everything to its middle rather than dividing by zero; one whose
// ends are no finite numbers runs from 0 to 1.
double Min(const ChartAxis& axis) {
    if (!std::isfinite(axis.min) || !std::isfinite(axis.max)) return 0;
    return axis.max != axis.min ? axis.min : axis.min - 0.5;
}

// How far beyond the plot a value maps at most (px): far enough that a line cut at the plot
// keeps its direction, near enough to stay a number that any arithmetic on it keeps finite.
constexpr double kFarthestPx = 1e6;

double Span(const ChartAxis& axis) {
    const double span = axis.max - axis.min;
    return std::isfinite(span) && span != 0 ? span : 1;
}

}  // namespace

ChartGeometry::ChartGeometry(const ChartAxis& x, const ChartAxis& y, const QRectF& plot)
    : plot_(plot), xMin_(Min(x)), xSpan_(Span(x)), yMin_(Min(y)), ySpan_(Span(y)) {}

double ChartGeometry::X(double x) const {
    const double px = plot_.left() + (x - xMin_) / xSpan_ * plot_.width();
    if (std::isnan(px)) return px;
    return std::clamp(px, plot_.left() - kFarthestPx, plot_.right() + kFarthestPx);
}

double ChartGeometry::Y(double y) const {
    const double px = plot_.bottom() - (y - yMin_) / ySpan_ * plot_.height();
    if (std::isnan(px)) return px;
    return std::clamp(px, plot_.top() - kFarthestPx, plot_.bottom() + kFarthestPx);
}

std::optional<QLineF> ChartGeometry::Clip(const QLineF& line) const {
    const ChartBox edges{plot_.left(), plot_.right(), plot_.top(), plot_.bottom()};
    const auto inside = edges.Inside({line.x1(), line.y1()}, {line.dx(), line.dy()});
    if (!inside) return std::nullopt;
    return QLineF(line.pointAt(inside->first), line.pointAt(inside->second));
}

QPointF ChartGeometry::Clamp(const QPointF& point) const {
    return {std::clamp(point.x(), plot_.left(), plot_.right()),
            std::clamp(point.y(), plot_.top(), plot_.bottom())};
}

}  // namespace kelvane
