#pragma once

#include <QColor>
#include <QFont>
#include <QLineF>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <optional>
#include <vector>

#include "charts/ChartModel.h"
#include "charts/drawing/ChartLabels.h"
#include "charts/drawing/ChartStyle.h"
#include "charts/drawing/PaintedElement.h"

class QPainter;

namespace kelvane {

// The labels of a chart's elements, each tied to its point: written beside it where there is
// room, else at the nearest clear place with a thin leader line back to the point. No label
// overlaps another, nor a marker, bar, band or chevron reserved before it (ChartLabels); a
// failing element's label is bold. What is written is added to `painted`.
class ChartElementLabels {
public:
    ChartElementLabels(QPainter& painter, const ChartStyle& style, const QRectF& plot,
                       std::vector<PaintedElement>& painted);

    // Keeps the labels off a shape (hard) or a line (where they can).
    void Reserve(const QRectF& box) { labels_.Reserve(box); }
    void Reserve(const QLineF& line) { labels_.Reserve(line); }

    // A marker's label, `at` where its shape was drawn.
    void LabelMarker(const ChartMarker& marker, const QPointF& at);
    // A bar's label above its top (`rect` as drawn), or beside its top where that has no room.
    void LabelBar(const ChartBar& bar, const QRectF& rect);
    // A band's label above its box, or below it.
    void LabelBand(const ChartBand& band, const QRectF& rect);
    // A bracket's label above its middle, or below it.
    void LabelSpan(const ChartSpan& span, const QLineF& line);
    // A limit line's label above or below its middle (`points` as drawn, in the plot).
    void LabelLine(const ChartPolyline& line, const std::vector<QPointF>& points);

    // Where a marker's label may go, best first: above, below, right and left of the point, the
    // corners, then further up and down. `box` is the label's size.
    static std::vector<QPointF> MarkerLabelPlaces(const QPointF& at, const QRectF& box, double gap);

private:
    // Writes the label at one of `places` for the point `anchor`; a leader, where the label had
    // to move, runs to it from the anchor, or for a line's label from the point of `along`
    // nearest the label.
    void Write(const std::vector<ChartLabels::Place>& places, ChartTone tone, const QPointF& anchor,
               const std::optional<QLineF>& along = std::nullopt);
    const QFont& FontOf(ChartTone tone) const;

    QPainter& painter_;
    const ChartStyle& style_;
    ChartLabels labels_;
    std::vector<PaintedElement>& painted_;
};

}  // namespace kelvane
