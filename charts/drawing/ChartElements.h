#pragma once

#include <QPointF>
#include <QRectF>
#include <QString>
#include <vector>

#include "charts/ChartModel.h"
#include "charts/drawing/ChartGeometry.h"
#include "charts/drawing/ChartLabels.h"
#include "charts/drawing/ChartStyle.h"

class QPainter;

namespace kelvane {

// Draws what a chart shows inside its plot, in this order: bands, bars, limit lines, spans,
// markers, and then the labels of bands, bars and markers on top, clear of the markers and of
// each other. Everything is cut to the plot by ChartGeometry. A failure is marked three ways:
// its colour, its shape (a cross for a marker, hatching for a bar or band) and its label in
// bold. Elements (and points of lines) with a coordinate that is no finite number are left out.
class ChartElements {
public:
    ChartElements(QPainter& painter, const ChartGeometry& geometry, const ChartStyle& style);

    void Draw(const ChartModel& model);

    // Where a marker's label may go, best first: above, below, right and left of the point, the
    // corners, then further up and down. `box` is the label's size.
    static std::vector<QPointF> MarkerLabelPlaces(const QPointF& at, const QRectF& box, double gap);

private:
    void DrawBand(const ChartBand& band);
    void DrawBar(const ChartBar& bar);
    void DrawLine(const ChartPolyline& line);
    void DrawSpan(const ChartSpan& span);
    void DrawMarker(const ChartMarker& marker);
    void Hatch(const QRectF& rect, ChartTone tone);
    void LabelBand(const ChartBand& band);
    void LabelBar(const ChartBar& bar);
    void LabelMarker(const ChartMarker& marker);
    QRectF BarRect(const ChartBar& bar) const;
    QRectF BandRect(const ChartBand& band) const;
    const QFont& LabelFont(ChartTone tone) const;
    QColor LabelColor(ChartTone tone) const;

    QPainter& painter_;
    const ChartGeometry& geometry_;
    const ChartStyle& style_;
    ChartLabels labels_;
};

}  // namespace kelvane
