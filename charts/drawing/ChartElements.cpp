#include "charts/drawing/ChartElements.h"

#include <QLineF>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <utility>

namespace kelvane {

namespace {

QString Text(const std::string& text) { return QString::fromStdString(text); }

// A label on two lines where it has two parts: "-54.78 dB (+9.78)", "OBW 4.167 MHz, center
// 2000.004 MHz" break before the parenthesis or after the comma.
QString TwoLines(const QString& text) {
    QString lines = text;
    if (const qsizetype comma = lines.indexOf(QStringLiteral(", ")); comma >= 0) {
        lines.replace(comma, 2, QStringLiteral("\n"));
    } else if (const qsizetype parenthesis = lines.indexOf(QStringLiteral(" ("));
               parenthesis >= 0) {
        lines.replace(parenthesis, 1, QStringLiteral("\n"));
    }
    return lines;
}

// The point of `box` nearest to `point`.
QPointF Nearest(const QRectF& box, const QPointF& point) {
    return {std::clamp(point.x(), box.left(), box.right()),
            std::clamp(point.y(), box.top(), box.bottom())};
}

bool Finite(std::initializer_list<double> values) {
    return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

// The model without what cannot be placed: elements with a coordinate that is no finite number,
// and such points of a line (the line goes on from the next one).
ChartModel Placeable(const ChartModel& model) {
    ChartModel placeable;
    for (const ChartBand& band : model.bands)
        if (Finite({band.x1, band.x2})) placeable.bands.push_back(band);
    for (const ChartBar& bar : model.bars)
        if (Finite({bar.x, bar.width, bar.top})) placeable.bars.push_back(bar);
    for (ChartPolyline line : model.lines) {
        std::erase_if(line.points, [](const ChartPoint& p) { return !Finite({p.x, p.y}); });
        placeable.lines.push_back(std::move(line));
    }
    for (const ChartSpan& span : model.spans)
        if (Finite({span.x1, span.x2, span.y})) placeable.spans.push_back(span);
    for (const ChartMarker& marker : model.markers)
        if (Finite({marker.at.x, marker.at.y})) placeable.markers.push_back(marker);
    return placeable;
}

}  // namespace

ChartElements::ChartElements(QPainter& painter, const ChartGeometry& geometry,
                             const ChartStyle& style)
    : painter_(painter), geometry_(geometry), style_(style), labels_(painter, geometry.Plot()) {}

void ChartElements::Draw(const ChartModel& drawn) {
    const ChartModel model = Placeable(drawn);
    painter_.save();
    for (const ChartBand& band : model.bands) DrawBand(band);
    for (const ChartBar& bar : model.bars) DrawBar(bar);
    for (const ChartPolyline& line : model.lines) DrawLine(line);
    for (const ChartSpan& span : model.spans) DrawSpan(span);
    for (const ChartMarker& marker : model.markers) DrawMarker(marker);
    // The markers are what the labels must not hide, then the limit lines and the spans; a
    // failing marker's label is placed first.
    for (const ChartPolyline& line : model.lines) {
        for (std::size_t i = 1; i < line.points.size(); ++i) {
            labels_.Reserve(
                QLineF(geometry_.Map(line.points[i - 1]), geometry_.Map(line.points[i])));
        }
    }
    for (const ChartSpan& span : model.spans) {
        const double y = geometry_.Y(span.y);
        labels_.Reserve(QLineF(geometry_.X(span.x1), y, geometry_.X(span.x2), y));
    }
    const double reach = style_.Unit() * 0.5;
    for (const ChartMarker& marker : model.markers) {
        const QPointF at = geometry_.Clamp(geometry_.Map(marker.at));
        labels_.Reserve(QRectF(at.x() - reach, at.y() - reach, 2 * reach, 2 * reach));
    }
    for (const ChartMarker& marker : model.markers) {
        if (marker.tone == ChartTone::Fail) LabelMarker(marker);
    }
    for (const ChartMarker& marker : model.markers) {
        if (marker.tone != ChartTone::Fail) LabelMarker(marker);
    }
    for (const ChartBar& bar : model.bars) LabelBar(bar);
    for (const ChartBand& band : model.bands) LabelBand(band);
    painter_.restore();
}

std::vector<QPointF> ChartElements::MarkerLabelPlaces(const QPointF& at, const QRectF& box,
                                                      double gap) {
    const double w = box.width();
    const double h = box.height();
    std::vector<QPointF> places{
        {at.x() - w / 2, at.y() - gap - h},  // above
        {at.x() - w / 2, at.y() + gap},      // below
        {at.x() + gap, at.y() - h / 2},      // right
        {at.x() - gap - w, at.y() - h / 2},  // left
        {at.x() + gap, at.y() - gap - h},    // above right
        {at.x() - gap - w, at.y() - gap - h}, {at.x() + gap, at.y() + gap},
        {at.x() - gap - w, at.y() + gap},
    };
    for (int step = 1; step <= 4; ++step) {
        places.push_back({at.x() - w / 2, at.y() - gap - h - step * h});
        places.push_back({at.x() - w / 2, at.y() + gap + step * h});
    }
    return places;
}

const QFont& ChartElements::LabelFont(ChartTone tone) const {
    return tone == ChartTone::Fail ? style_.FailLabelFont() : style_.LabelFont();
}

QColor ChartElements::LabelColor(ChartTone tone) const {
    return tone == ChartTone::Pass || tone == ChartTone::Fail ? ChartStyle::Ink(tone)
                                                              : ChartStyle::Text();
}

QRectF ChartElements::BandRect(const ChartBand& band) const {
    const QRectF& plot = geometry_.Plot();
    const double x1 =
        std::clamp(geometry_.X(std::min(band.x1, band.x2)), plot.left(), plot.right());
    const double x2 =
        std::clamp(geometry_.X(std::max(band.x1, band.x2)), plot.left(), plot.right());
    return QRectF(QPointF(x1, plot.top()), QPointF(x2, plot.bottom()));
}

QRectF ChartElements::BarRect(const ChartBar& bar) const {
    const QRectF& plot = geometry_.Plot();
    const double left = std::clamp(geometry_.X(bar.x - bar.width / 2), plot.left(), plot.right());
    const double right = std::clamp(geometry_.X(bar.x + bar.width / 2), plot.left(), plot.right());
    const double top = std::clamp(geometry_.Y(bar.top), plot.top(), plot.bottom());
    return QRectF(QPointF(left, top), QPointF(right, plot.bottom()));
}

void ChartElements::Hatch(const QRectF& rect, ChartTone tone) {
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

void ChartElements::DrawBand(const ChartBand& band) {
    const QRectF rect = BandRect(band);
    // The grid shows through: a band's edges can be read off the x axis.
    QColor fill = ChartStyle::Fill(band.tone);
    fill.setAlphaF(0.75);
    painter_.fillRect(rect, fill);
    if (band.tone == ChartTone::Fail) Hatch(rect, band.tone);
    QPen edge(ChartStyle::Ink(band.tone), style_.Unit() * 0.12);
    if (band.tone == ChartTone::Limit) edge.setStyle(Qt::DashLine);
    painter_.setPen(edge);
    painter_.drawLine(rect.topLeft(), rect.bottomLeft());
    painter_.drawLine(rect.topRight(), rect.bottomRight());
}

void ChartElements::DrawBar(const ChartBar& bar) {
    const QRectF rect = BarRect(bar);
    painter_.fillRect(rect, ChartStyle::Fill(bar.tone));
    if (bar.tone == ChartTone::Fail) Hatch(rect, bar.tone);
    painter_.setPen(QPen(ChartStyle::Ink(bar.tone), style_.Unit() * 0.12));
    painter_.setBrush(Qt::NoBrush);
    painter_.drawRect(rect);
}

void ChartElements::DrawLine(const ChartPolyline& line) {
    QPainterPath path;
    QPointF end;
    for (std::size_t i = 1; i < line.points.size(); ++i) {
        const auto inside = geometry_.Clip(
            QLineF(geometry_.Map(line.points[i - 1]), geometry_.Map(line.points[i])));
        if (!inside) continue;
        if (path.isEmpty() || inside->p1() != end) path.moveTo(inside->p1());
        path.lineTo(inside->p2());
        end = inside->p2();
    }
    QPen pen(ChartStyle::Ink(line.tone), style_.Unit() * 0.16);
    pen.setCapStyle(Qt::FlatCap);
    if (line.dashed) pen.setStyle(Qt::DashLine);
    painter_.setPen(pen);
    painter_.setBrush(Qt::NoBrush);
    painter_.drawPath(path);
}

void ChartElements::DrawSpan(const ChartSpan& span) {
    const double y = geometry_.Y(span.y);
    const auto inside = geometry_.Clip(QLineF(geometry_.X(span.x1), y, geometry_.X(span.x2), y));
    if (!inside) return;
    painter_.setPen(
        QPen(ChartStyle::Ink(span.tone), style_.Unit() * 0.2, Qt::SolidLine, Qt::FlatCap));
    painter_.drawLine(*inside);
    // Short end strokes show where the range stops.
    const double end = style_.Unit() * 0.3;
    painter_.setPen(QPen(ChartStyle::Ink(span.tone), style_.Unit() * 0.12));
    for (const QPointF& at : {inside->p1(), inside->p2()}) {
        painter_.drawLine(QPointF(at.x(), at.y() - end), QPointF(at.x(), at.y() + end));
    }
}

void ChartElements::DrawMarker(const ChartMarker& marker) {
    const QPointF at = geometry_.Clamp(geometry_.Map(marker.at));
    const double unit = style_.Unit();
    if (marker.tone == ChartTone::Fail) {
        // A cross on a white halo, so that it shows on top of a span or a limit line.
        const double arm = unit * 0.45;
        for (const auto& [color, width] :
             {std::pair{ChartStyle::Background(), unit * 0.42},
              std::pair{ChartStyle::Ink(ChartTone::Fail), unit * 0.2}}) {
            painter_.setPen(QPen(color, width, Qt::SolidLine, Qt::RoundCap));
            painter_.drawLine(at + QPointF(-arm, -arm), at + QPointF(arm, arm));
            painter_.drawLine(at + QPointF(-arm, arm), at + QPointF(arm, -arm));
        }
        return;
    }
    const double radius = unit * 0.3;
    painter_.setPen(QPen(ChartStyle::Background(), unit * 0.1));
    painter_.setBrush(ChartStyle::Ink(marker.tone));
    painter_.drawEllipse(at, radius, radius);
}

void ChartElements::LabelMarker(const ChartMarker& marker) {
    if (marker.label.empty()) return;
    const QString text = Text(marker.label);
    const QFont& font = LabelFont(marker.tone);
    const QPointF at = geometry_.Clamp(geometry_.Map(marker.at));
    const double gap = style_.Unit() * 0.5;
    std::vector<ChartLabels::Place> places;
    for (const QPointF& place : MarkerLabelPlaces(at, labels_.Box(text, font), gap)) {
        places.push_back({text, place});
    }
    const QRectF box = labels_.Write(places, font, LabelColor(marker.tone));
    // A label pushed away from its marker gets a thin leader to it.
    const QPointF nearest = Nearest(box, at);
    if (QLineF(at, nearest).length() > gap * 1.8) {
        painter_.setPen(QPen(ChartStyle::Frame(), 1));
        painter_.drawLine(QLineF(at, nearest));
    }
}

void ChartElements::LabelBar(const ChartBar& bar) {
    if (bar.label.empty()) return;
    const QString text = Text(bar.label);
    const QFont& font = LabelFont(bar.tone);
    const QRectF rect = BarRect(bar);
    const double gap = style_.Unit() * 0.25;
    std::vector<ChartLabels::Place> places;
    // Above the bar, on one line or two; where the plot ends above it, inside its top.
    for (const QString& form : {text, TwoLines(text)}) {
        const QRectF box = labels_.Box(form, font);
        places.push_back(
            {form, {rect.center().x() - box.width() / 2, rect.top() - gap - box.height()}});
    }
    for (const QString& form : {text, TwoLines(text)}) {
        const QRectF box = labels_.Box(form, font);
        places.push_back({form, {rect.center().x() - box.width() / 2, rect.top() + gap}});
    }
    labels_.Write(places, font, LabelColor(bar.tone));
}

void ChartElements::LabelBand(const ChartBand& band) {
    if (band.label.empty()) return;
    const QString text = Text(band.label);
    const QFont& font = LabelFont(band.tone);
    const QRectF rect = BandRect(band);
    const QRectF box = labels_.Box(text, font);
    std::vector<ChartLabels::Place> places;
    // At the band's top, lower by a line for each label already there.
    for (int line = 0; line < 6; ++line) {
        places.push_back({text,
                          {rect.center().x() - box.width() / 2,
                           rect.top() + style_.Unit() * 0.3 + line * box.height()}});
    }
    labels_.Write(places, font, LabelColor(band.tone));
}

}  // namespace kelvane
