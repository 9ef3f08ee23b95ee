#pragma once

#include <QLineF>
#include <QPainterPath>
#include <QPointF>
#include <QRectF>

#include "charts/ChartModel.h"
#include "charts/drawing/ChartStyle.h"

class QPainter;

namespace kelvane {

// The shapes of a chart's elements, the same in the plot and in the legend, sized by the style's
// unit. A failure is marked by its shape too: a cross rather than a dot, a hatched box. Each
// returns the box it covers (without the pen's width) where callers need it.
class ChartShapes {
public:
    ChartShapes(QPainter& painter, const ChartStyle& style);

    // Half the size of a marker: how far its shape reaches from its point.
    double MarkerReach() const;
    // How far a chevron reaches from its tip along its direction.
    double ChevronLength() const;

    // A cross (Fail) or a dot (any other tone) centred on `at`, on a white halo.
    QRectF Marker(const QPointF& at, ChartTone tone) const;
    // A filled box with its outline, hatched where `hatched` (the hatching cut to the box).
    void Box(const QRectF& rect, ChartTone tone, bool hatched) const;
    // A line from left to right at y with an end stroke at each end, or an arrowhead where the
    // end is open (the range goes on beyond the plot).
    QRectF Bracket(double left, double right, double y, ChartTone tone, bool openLeft,
                   bool openRight) const;
    // A path in the tone's ink, solid or dashed.
    void Line(const QPainterPath& path, ChartTone tone, bool dashed) const;
    // A double chevron on a white halo with its tip at `tip`, pointing along `direction` (one
    // of (0, -1) up, (0, 1) down, (-1, 0) left, (1, 0) right): a value beyond the plot's edge.
    QRectF Chevron(const QPointF& tip, const QPointF& direction, ChartTone tone) const;

private:
    void Hatch(const QRectF& rect, ChartTone tone) const;

    QPainter& painter_;
    const ChartStyle& style_;
};

}  // namespace kelvane
