#pragma once

#include <QColor>
#include <QFont>
#include <QLineF>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <optional>
#include <vector>

class QPainter;

namespace kelvane {

// Writes the labels of a chart's elements inside the plot, each on a light backing so that it
// reads across grid and lines. A label never overlaps an earlier label nor a reserved box (a
// marker, a bar, a chevron) where the plot has room for it anywhere: the caller offers places
// in the order it prefers them; where none of them is clear, the nearest clear place around
// the label's point is taken. Reserved lines (limit lines, brackets) are avoided where a clear
// place allows it.
class ChartLabels {
public:
    // One way to write a label: its text (lines split by '\n') with its top left corner here.
    struct Place {
        QString text;
        QPointF topLeft;
    };

    // Labels stay inside `bounds`.
    ChartLabels(QPainter& painter, const QRectF& bounds);

    // The size a text takes in the font, with its backing's margin.
    QRectF Box(const QString& text, const QFont& font) const;
    // Writes the label at the first of `places` whose box, moved inside the bounds, overlaps no
    // earlier label or reserved box and no reserved line; else at the offered place clear of
    // labels and boxes that covers the least of the lines; else at the clear place nearest to
    // `anchor` (the point it labels), searched over the bounds, whose leader back to it crosses
    // no label where such a place exists; else, where the bounds have no room at all, at the
    // offered place that overlaps least. Returns its box.
    QRectF Write(const std::vector<Place>& places, const QFont& font, const QColor& color,
                 const QPointF& anchor);
    // Keeps later labels off this box (a marker's shape, a bar).
    void Reserve(const QRectF& box) { reserved_.push_back(box); }
    // Keeps later labels off this line where they can (a limit line, a bracket).
    void Reserve(const QLineF& line) { lines_.push_back(line); }

private:
    QRectF Inside(QRectF box) const;
    // Area of `box` over labels and reserved boxes.
    double Collision(const QRectF& box) const;
    // How much of the reserved lines `box` hides, weighted.
    double LineCover(const QRectF& box) const;
    std::vector<QRectF> AroundAnchor(const QRectF& size, const QPointF& anchor) const;

    // The clear place of `size` nearest to `anchor` (AroundAnchor) whose leader crosses no
    // label, else one whose leader does; none where the bounds have no room.
    std::optional<QRectF> NearestClear(const QRectF& size, const QPointF& anchor) const;
    // Whether the leader from `anchor` to `box` would cross a label written before.
    bool LeaderCrossesALabel(const QRectF& box, const QPointF& anchor) const;

    QPainter& painter_;
    QRectF bounds_;
    std::vector<QRectF> written_;
    std::vector<QRectF> reserved_;
    std::vector<QLineF> lines_;
};

}  // namespace kelvane
