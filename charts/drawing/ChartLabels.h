#pragma once

#include <QColor>
#include <QFont>
#include <QLineF>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <vector>

class QPainter;

namespace kelvane {

// Writes the labels of a chart's elements inside the plot, each on a light backing so that it
// reads across grid and lines, and each clear of the labels written before it and of the lines
// reserved where it can be: the caller offers places in the order it prefers them, the first
// that is free wins.
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
    // earlier label (the least overlapping one when none is free); returns its box.
    QRectF Write(const std::vector<Place>& places, const QFont& font, const QColor& color);
    // Keeps later labels off this box (a marker's shape).
    void Reserve(const QRectF& box) { written_.push_back(box); }
    // Keeps later labels off this line where they can (a limit line, a span): a place that
    // covers less of it is preferred.
    void Reserve(const QLineF& line) { lines_.push_back(line); }

private:
    QRectF Inside(QRectF box) const;
    double Overlap(const QRectF& box) const;

    QPainter& painter_;
    QRectF bounds_;
    std::vector<QRectF> written_;
    std::vector<QLineF> lines_;
};

}  // namespace kelvane
