#pragma once

#include <QPointF>
#include <QRectF>
#include <vector>

#include "charts/ChartModel.h"
#include "charts/drawing/ChartGeometry.h"
#include "charts/drawing/ChartStyle.h"
#include "charts/drawing/PaintedElement.h"

class QPainter;

namespace kelvane {

// Draws what a chart shows inside its plot, in this order: bands, bars, brackets (spans), limit
// lines (over any hatching), markers, the chevrons of values beyond the axes, and then the labels
// on top: a failing marker's first, then the other markers', the bars', bands', brackets' and
// limit lines', each clear of the others and of the shapes (ChartElementLabels). Everything
// stays inside the plot: lines are cut at its edges, shapes held inside it; an element flagged
// off-scale stands at the edge with a chevron pointing outwards. A failure is marked three
// ways: its colour, its shape (a cross for a marker, hatching for a bar or band) and its label
// in bold. Elements (and points of lines) with a coordinate that is no finite number are left
// out.
class ChartElements {
public:
    ChartElements(QPainter& painter, const ChartGeometry& geometry, const ChartStyle& style);

    // Draws the model's elements; returns what was drawn, in drawing order.
    std::vector<PaintedElement> Draw(const ChartModel& model);

private:
    QRectF BandRect(const ChartBand& band) const;
    QRectF BarRect(const ChartBar& bar) const;
    // Where a marker's shape goes: its point, held inside the plot with its whole shape, and
    // for an off-scale marker moved in from the edge by its chevron.
    QPointF MarkerPoint(const ChartMarker& marker) const;
    // A chevron with its tip just inside the plot's edge, recorded and kept clear of labels.
    QRectF Chevron(const QPointF& tip, const QPointF& direction, ChartTone tone);
    void Record(PaintedElement::Kind kind, const QRectF& box);

    QPainter& painter_;
    const ChartGeometry& geometry_;
    const ChartStyle& style_;
    std::vector<PaintedElement> painted_;
};

}  // namespace kelvane
