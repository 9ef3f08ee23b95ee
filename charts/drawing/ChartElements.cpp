#include "charts/drawing/ChartElements.h"

#include <QLineF>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <initializer_list>

#include "charts/drawing/ChartElementLabels.h"
#include "charts/drawing/ChartShapes.h"

namespace kelvane {

namespace {

using Kind = PaintedElement::Kind;

const QPointF kUp(0, -1);
const QPointF kDown(0, 1);
const QPointF kLeft(-1, 0);
const QPointF kRight(1, 0);
// How far inside the plot's edge a chevron's tip stands (px), so that its pen stays inside.
constexpr double kTipInset = 1.5;
// Between an off-scale marker and its chevron, in the style's unit.
constexpr double kChevronGap = 0.3;

bool Finite(std::initializer_list<double> values) {
    return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

// The model without what cannot be placed: elements with a coordinate that is no finite number,
// and such points of a line (the line goes on from the next one).
ChartModel Placeable(const ChartModel& model) {
    ChartModel placeable;
    for (const ChartBand& band : model.bands)
        if (Finite({band.x1, band.x2, band.y1, band.y2})) placeable.bands.push_back(band);
    for (const ChartBar& bar : model.bars)
        if (Finite({bar.x, bar.width, bar.top})) placeable.bars.push_back(bar);
    for (const ChartSpan& span : model.spans)
        if (Finite({span.x1, span.x2, span.y})) placeable.spans.push_back(span);
    for (ChartPolyline line : model.lines) {
        std::erase_if(line.points, [](const ChartPoint& p) { return !Finite({p.x, p.y}); });
        placeable.lines.push_back(std::move(line));
    }
    for (const ChartMarker& marker : model.markers)
        if (Finite({marker.at.x, marker.at.y})) placeable.markers.push_back(marker);
    return placeable;
}

}  // namespace

ChartElements::ChartElements(QPainter& painter, const ChartGeometry& geometry,
                             const ChartStyle& style)
    : painter_(painter), geometry_(geometry), style_(style) {}

void ChartElements::Record(Kind kind, const QRectF& box) { painted_.push_back({kind, box, {}}); }

QRectF ChartElements::BandRect(const ChartBand& band) const {
    const QRectF& plot = geometry_.Plot();
    const auto x = [&](double v) { return std::clamp(geometry_.X(v), plot.left(), plot.right()); };
    const auto y = [&](double v) { return std::clamp(geometry_.Y(v), plot.top(), plot.bottom()); };
    return QRectF(QPointF(x(band.x1), y(band.y2)), QPointF(x(band.x2), y(band.y1))).normalized();
}

QRectF ChartElements::BarRect(const ChartBar& bar) const {
    const QRectF& plot = geometry_.Plot();
    const double left = std::clamp(geometry_.X(bar.x - bar.width / 2), plot.left(), plot.right());
    const double right = std::clamp(geometry_.X(bar.x + bar.width / 2), plot.left(), plot.right());
    const double top = std::clamp(geometry_.Y(bar.top), plot.top(), plot.bottom());
    return QRectF(QPointF(left, top), QPointF(right, plot.bottom())).normalized();
}

QPointF ChartElements::MarkerPoint(const ChartMarker& marker) const {
    const QRectF& plot = geometry_.Plot();
    const ChartShapes shapes(painter_, style_);
    const double reach = shapes.MarkerReach();
    const double beyond = reach + shapes.ChevronLength() + kTipInset + style_.Unit() * kChevronGap;
    QPointF at = geometry_.Clamp(geometry_.Map(marker.at));
    if (marker.offScale.x < 0) at.setX(plot.left() + beyond);
    if (marker.offScale.x > 0) at.setX(plot.right() - beyond);
    if (marker.offScale.y > 0) at.setY(plot.top() + beyond);
    if (marker.offScale.y < 0) at.setY(plot.bottom() - beyond);
    const QRectF inner = plot.adjusted(reach, reach, -reach, -reach);
    if (inner.isValid())
        at = {std::clamp(at.x(), inner.left(), inner.right()),
              std::clamp(at.y(), inner.top(), inner.bottom())};
    return at;
}

QRectF ChartElements::Chevron(const QPointF& tip, const QPointF& direction, ChartTone tone) {
    const QRectF box = ChartShapes(painter_, style_).Chevron(tip, direction, tone);
    Record(Kind::OffScale, box);
    return box;
}

std::vector<PaintedElement> ChartElements::Draw(const ChartModel& drawn) {
    const ChartModel model = Placeable(drawn);
    const QRectF& plot = geometry_.Plot();
    const ChartShapes shapes(painter_, style_);
    painted_.clear();
    std::vector<QRectF> shapesToKeepClear;
    std::vector<QLineF> linesToAvoid;

    std::vector<QRectF> bandRects;
    for (const ChartBand& band : model.bands) {
        const QRectF rect = BandRect(band);
        shapes.Box(rect, band.tone, band.tone == ChartTone::Fail);
        Record(Kind::Band, rect);
        bandRects.push_back(rect);
        const double middle = rect.center().y();
        if (band.openLeft)
            shapesToKeepClear.push_back(
                Chevron(QPointF(plot.left() + kTipInset, middle), kLeft, band.tone));
        if (band.openRight)
            shapesToKeepClear.push_back(
                Chevron(QPointF(plot.right() - kTipInset, middle), kRight, band.tone));
    }

    std::vector<QRectF> barRects;
    for (const ChartBar& bar : model.bars) {
        const QRectF rect = BarRect(bar);
        shapes.Box(rect, bar.tone, bar.tone == ChartTone::Fail);
        Record(Kind::Bar, rect);
        barRects.push_back(rect);
        shapesToKeepClear.push_back(rect);
        // Beyond the top the chevron stands inside the bar's top; below the bottom, where the
        // bar has no height, on the bottom of the plot.
        const double x = rect.center().x();
        if (bar.offScale > 0)
            shapesToKeepClear.push_back(Chevron(QPointF(x, plot.top() + kTipInset), kUp, bar.tone));
        if (bar.offScale < 0)
            shapesToKeepClear.push_back(
                Chevron(QPointF(x, plot.bottom() - kTipInset), kDown, bar.tone));
    }

    std::vector<QLineF> spanLines;
    for (const ChartSpan& span : model.spans) {
        const auto x = [&](double v) {
            return std::clamp(geometry_.X(v), plot.left(), plot.right());
        };
        const double y = std::clamp(geometry_.Y(span.y), plot.top(), plot.bottom());
        const QLineF line(x(std::min(span.x1, span.x2)), y, x(std::max(span.x1, span.x2)), y);
        Record(Kind::Span,
               shapes.Bracket(line.x1(), line.x2(), y, span.tone, span.openLeft, span.openRight));
        spanLines.push_back(line);
        linesToAvoid.push_back(line);
    }

    std::vector<std::vector<QPointF>> linePoints;
    for (const ChartPolyline& line : model.lines) {
        QPainterPath path;
        std::vector<QPointF> points;
        for (std::size_t i = 1; i < line.points.size(); ++i) {
            const auto inside = geometry_.Clip(
                QLineF(geometry_.Map(line.points[i - 1]), geometry_.Map(line.points[i])));
            if (!inside) continue;
            if (points.empty() || inside->p1() != points.back()) path.moveTo(inside->p1());
            path.lineTo(inside->p2());
            points.push_back(inside->p1());
            points.push_back(inside->p2());
            linesToAvoid.push_back(*inside);
        }
        linePoints.push_back(points);
        if (path.isEmpty()) continue;
        shapes.Line(path, line.tone, line.dashed);
        Record(Kind::Line, path.boundingRect());
    }

    std::vector<QPointF> markerPoints;
    for (const ChartMarker& marker : model.markers) {
        const QPointF at = MarkerPoint(marker);
        const double x = at.x();
        const double y = at.y();
        if (marker.offScale.x < 0) Chevron(QPointF(plot.left() + kTipInset, y), kLeft, marker.tone);
        if (marker.offScale.x > 0)
            Chevron(QPointF(plot.right() - kTipInset, y), kRight, marker.tone);
        if (marker.offScale.y > 0) Chevron(QPointF(x, plot.top() + kTipInset), kUp, marker.tone);
        if (marker.offScale.y < 0)
            Chevron(QPointF(x, plot.bottom() - kTipInset), kDown, marker.tone);
        const QRectF box = shapes.Marker(at, marker.tone);
        Record(Kind::Marker, box);
        markerPoints.push_back(at);
    }
    for (const PaintedElement& element : painted_) {
        if (element.kind == Kind::Marker || element.kind == Kind::OffScale)
            shapesToKeepClear.push_back(element.box);
    }

    ChartElementLabels labels(painter_, style_, plot, painted_);
    for (const QRectF& box : shapesToKeepClear) labels.Reserve(box);
    for (const QLineF& line : linesToAvoid) labels.Reserve(line);
    for (bool failing : {true, false}) {
        for (std::size_t i = 0; i < model.markers.size(); ++i) {
            if ((model.markers[i].tone == ChartTone::Fail) == failing)
                labels.LabelMarker(model.markers[i], markerPoints[i]);
        }
    }
    for (std::size_t i = 0; i < model.bars.size(); ++i) labels.LabelBar(model.bars[i], barRects[i]);
    for (std::size_t i = 0; i < model.bands.size(); ++i)
        labels.LabelBand(model.bands[i], bandRects[i]);
    for (std::size_t i = 0; i < model.spans.size(); ++i)
        labels.LabelSpan(model.spans[i], spanLines[i]);
    for (std::size_t i = 0; i < model.lines.size(); ++i)
        labels.LabelLine(model.lines[i], linePoints[i]);
    return painted_;
}

}  // namespace kelvane
