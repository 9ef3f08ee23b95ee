#pragma once

#include <QLineF>
#include <QPointF>
#include <QRectF>
#include <optional>

#include "charts/ChartModel.h"

namespace kelvane {

// Maps a chart's x and y, in the units of its axes, to device coordinates in the plot
// rectangle: the x axis' min at the plot's left edge and its max at the right edge, the y axis'
// min at the bottom and its max at the top. Values beyond an axis map beyond the plot, but at
// most 1e6 px beyond it (a value of 1e300 stays a number of pixels that can be computed with);
// Clip and Clamp keep what is drawn inside it (the SVG output has no clipping of its own to
// rely on). A value that is no number maps to none.
class ChartGeometry {
public:
    ChartGeometry(const ChartAxis& x, const ChartAxis& y, const QRectF& plot);

    const QRectF& Plot() const { return plot_; }
    double X(double x) const;
    double Y(double y) const;
    QPointF Map(const ChartPoint& point) const { return {X(point.x), Y(point.y)}; }

    // The part of a line (device coordinates) inside the plot, none when it misses the plot.
    std::optional<QLineF> Clip(const QLineF& line) const;
    // The nearest point inside the plot.
    QPointF Clamp(const QPointF& point) const;

private:
    QRectF plot_;
    double xMin_;
    double xSpan_;
    double yMin_;
    double ySpan_;
};

}  // namespace kelvane
