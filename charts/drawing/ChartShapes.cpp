#include "charts/drawing/ChartShapes.h"

#include <QPainter>
#include <QPen>
#include <QPolygonF>
#include <algorithm>
#include <initializer_list>
#include <tuple>
#include <utility>

#include "charts/drawing/ChartGeometry.h"

namespace kelvane {

namespace {

// Sizes that more than one shape or measure takes, as shares of the style's unit; the others
// stand where they are drawn.
constexpr double kCrossArm = 0.45;
constexpr double kArrowLength = 0.55;
constexpr double kChevronArm = 0.35;
constexpr double kChevronGap = 0.3;
constexpr double kOutline = 0.12;

QRectF Around(const QPointF& at, double reach) {
    return {at.x() - reach, at.y() - reach, 2 * reach, 2 * reach};
}

}  // namespace

ChartShapes::ChartShapes(QPainter& painter, const ChartStyle& style)
    : painter_(painter), style_(style) {}

double ChartShapes::MarkerReach() const { return style_.Unit() * kCrossArm; }

double ChartShapes::ChevronLength() const { return style_.Unit() * (kChevronArm + kChevronGap); }

QRectF ChartShapes::Marker(const QPointF& at, ChartTone tone) const {
    const double unit = style_.Unit();
    painter_.save();
    if (tone == ChartTone::Fail) {
        // A cross on a white halo, so that it shows on top of a span or a limit line.
        const double arm = unit * kCrossArm;
        for (const auto& [color, width] :
             {std::pair{ChartStyle::Background(), unit * 0.42},
              std::pair{ChartStyle::Ink(ChartTone::Fail), unit * 0.2}}) {
            painter_.setPen(QPen(color, width, Qt::SolidLine, Qt::RoundCap));
            painter_.drawLine(at + QPointF(-arm, -arm), at + QPointF(arm, arm));
            painter_.drawLine(at + QPointF(-arm, arm), at + QPointF(arm, -arm));
        }
    } else {
        const double radius = unit * 0.3;
        painter_.setPen(QPen(ChartStyle::Background(), unit * 0.1));
        painter_.setBrush(ChartStyle::Ink(tone));
        painter_.drawEllipse(at, radius, radius);
    }
    painter_.restore();
    return Around(at, MarkerReach());
}

void ChartShapes::Hatch(const QRectF& rect, ChartTone tone) const {
    // Diagonal lines rising to the right, cut to the rectangle by hand: an SVG viewer would not
    // know Qt's pattern brushes.
    const ChartGeometry cut(ChartAxis{}, ChartAxis{}, rect);
    const double spacing = style_.Unit() * 0.6;
    painter_.setPen(QPen(ChartStyle::Ink(tone), 1.2));
    for (double x = rect.left() - rect.height(); x < rect.right(); x += spacing) {
        const QLineF line(x, rect.bottom(), x + rect.height(), rect.top());
        if (const auto inside = cut.Clip(line)) painter_.drawLine(*inside);
    }
}

void ChartShapes::Box(const QRectF& rect, ChartTone tone, bool hatched) const {
    painter_.save();
    painter_.fillRect(rect, ChartStyle::Fill(tone));
    if (hatched) Hatch(rect, tone);
    painter_.setPen(QPen(ChartStyle::Ink(tone), style_.Unit() * kOutline));
    painter_.setBrush(Qt::NoBrush);
    painter_.drawRect(rect);
    painter_.restore();
}

QRectF ChartShapes::Bracket(double left, double right, double y, ChartTone tone, bool openLeft,
                            bool openRight) const {
    const double unit = style_.Unit();
    const double end = unit * 0.3;  // half the end strokes' and arrowheads' height
    const QColor ink = ChartStyle::Ink(tone);
    painter_.save();
    painter_.setPen(QPen(ink, unit * 0.2, Qt::SolidLine, Qt::FlatCap));
    painter_.drawLine(QPointF(left, y), QPointF(right, y));
    for (const auto& [x, open, outwards] :
         {std::tuple{left, openLeft, -1.0}, std::tuple{right, openRight, 1.0}}) {
        if (open) {
            // An arrowhead whose tip is the end: the range goes on beyond it.
            const double back = x - outwards * unit * kArrowLength;
            painter_.setPen(Qt::NoPen);
            painter_.setBrush(ink);
            painter_.drawPolygon(
                QPolygonF{QPointF(x, y), QPointF(back, y - end), QPointF(back, y + end)});
        } else {
            painter_.setPen(QPen(ink, unit * kOutline));
            painter_.drawLine(QPointF(x, y - end), QPointF(x, y + end));
        }
    }
    painter_.restore();
    // An arrowhead reaches back from its tip, inwards, also on a range shrunk to the edge.
    const double arrow = unit * kArrowLength;
    return QRectF(QPointF(std::min(left, openRight ? right - arrow : left), y - end),
                  QPointF(std::max(right, openLeft ? left + arrow : right), y + end));
}

void ChartShapes::Line(const QPainterPath& path, ChartTone tone, bool dashed) const {
    QPen pen(ChartStyle::Ink(tone), style_.Unit() * 0.16);
    pen.setCapStyle(Qt::FlatCap);
    if (dashed) pen.setStyle(Qt::DashLine);
    painter_.save();
    painter_.setPen(pen);
    painter_.setBrush(Qt::NoBrush);
    painter_.drawPath(path);
    painter_.restore();
}

QRectF ChartShapes::Chevron(const QPointF& tip, const QPointF& direction, ChartTone tone) const {
    const double unit = style_.Unit();
    const QPointF back = -direction * unit * kChevronArm;
    const QPointF side(direction.y() * unit * kChevronArm, -direction.x() * unit * kChevronArm);
    QPolygonF points;
    painter_.save();
    for (const auto& [color, width] : {std::pair{ChartStyle::Background(), unit * 0.4},
                                       std::pair{ChartStyle::Ink(tone), unit * 0.16}}) {
        painter_.setPen(QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter_.setBrush(Qt::NoBrush);
        for (double behind : {0.0, kChevronGap}) {
            const QPointF at = tip - direction * unit * behind;
            const QPolygonF chevron{at + back + side, at, at + back - side};
            painter_.drawPolyline(chevron);
            points << chevron;
        }
    }
    painter_.restore();
    return points.boundingRect();
}

}  // namespace kelvane
