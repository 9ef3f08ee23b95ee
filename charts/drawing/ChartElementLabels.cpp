#include "charts/drawing/ChartElementLabels.h"

#include <QPainter>
#include <QPen>
#include <algorithm>

namespace kelvane {

namespace {

// Shares of the style's unit.
constexpr double kMarkerGap = 0.5;
constexpr double kGap = 0.25;
// A label further than this from its point (shares of the unit) gets a leader line to it.
constexpr double kLeaderFrom = 0.95;

QString Text(const std::string& text) { return QString::fromStdString(text); }

// A label on two lines where it has two parts: "-54.78 dB (+9.78)" breaks before the
// parenthesis, "1.00e+300 dBm, -1.00e+300 dB" after the comma.
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

// The point of the line from p1 to p2 nearest to `point`.
QPointF NearestOnLine(const QLineF& line, const QPointF& point) {
    const QPointF d = line.p2() - line.p1();
    const double length2 = QPointF::dotProduct(d, d);
    if (length2 == 0) return line.p1();
    const double t = std::clamp(QPointF::dotProduct(point - line.p1(), d) / length2, 0.0, 1.0);
    return line.p1() + t * d;
}

QColor LabelColor(ChartTone tone) {
    return tone == ChartTone::Pass || tone == ChartTone::Fail ? ChartStyle::Ink(tone)
                                                              : ChartStyle::Text();
}

}  // namespace

ChartElementLabels::ChartElementLabels(QPainter& painter, const ChartStyle& style,
                                       const QRectF& plot, std::vector<PaintedElement>& painted)
    : painter_(painter), style_(style), labels_(painter, plot), painted_(painted) {}

const QFont& ChartElementLabels::FontOf(ChartTone tone) const {
    return tone == ChartTone::Fail ? style_.FailLabelFont() : style_.LabelFont();
}

void ChartElementLabels::Write(const std::vector<ChartLabels::Place>& places, ChartTone tone,
                               const QPointF& anchor, const std::optional<QLineF>& along) {
    if (places.empty()) return;
    const QRectF box = labels_.Write(places, FontOf(tone), LabelColor(tone), anchor);
    painted_.push_back({PaintedElement::Kind::Label, box, places.front().text});
    // A label pushed away from its point gets a thin leader to it.
    const QPointF from = along ? NearestOnLine(*along, box.center()) : anchor;
    const QPointF nearest = Nearest(box, from);
    if (QLineF(from, nearest).length() > style_.Unit() * kLeaderFrom) {
        painter_.save();
        painter_.setPen(QPen(ChartStyle::Frame(), 1));
        painter_.drawLine(QLineF(from, nearest));
        painter_.restore();
        painted_.push_back(
            {PaintedElement::Kind::Leader, QRectF(from, nearest).normalized(), QString()});
    }
}

std::vector<QPointF> ChartElementLabels::MarkerLabelPlaces(const QPointF& at, const QRectF& box,
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

void ChartElementLabels::LabelMarker(const ChartMarker& marker, const QPointF& at) {
    if (marker.label.empty()) return;
    const QFont& font = FontOf(marker.tone);
    std::vector<ChartLabels::Place> places;
    for (const QString& form : {Text(marker.label), TwoLines(Text(marker.label))}) {
        const QRectF box = labels_.Box(form, font);
        for (const QPointF& place : MarkerLabelPlaces(at, box, style_.Unit() * kMarkerGap))
            places.push_back({form, place});
    }
    Write(places, marker.tone, at);
}

void ChartElementLabels::LabelBar(const ChartBar& bar, const QRectF& rect) {
    if (bar.label.empty()) return;
    const QFont& font = FontOf(bar.tone);
    const double gap = style_.Unit() * kGap;
    const QPointF top(rect.center().x(), rect.top());
    std::vector<ChartLabels::Place> places;
    // Above the bar, on one line or two; then beside its top.
    for (const QString& form : {Text(bar.label), TwoLines(Text(bar.label))}) {
        const QRectF box = labels_.Box(form, font);
        places.push_back({form, {top.x() - box.width() / 2, top.y() - gap - box.height()}});
    }
    for (const QString& form : {TwoLines(Text(bar.label)), Text(bar.label)}) {
        const QRectF box = labels_.Box(form, font);
        places.push_back({form, {rect.right() + gap, top.y()}});
        places.push_back({form, {rect.left() - gap - box.width(), top.y()}});
    }
    Write(places, bar.tone, top);
}

void ChartElementLabels::LabelBand(const ChartBand& band, const QRectF& rect) {
    if (band.label.empty()) return;
    const QString text = Text(band.label);
    const QRectF box = labels_.Box(text, FontOf(band.tone));
    const double gap = style_.Unit() * kGap;
    const double left = rect.center().x() - box.width() / 2;
    Write({{text, {left, rect.top() - gap - box.height()}}, {text, {left, rect.bottom() + gap}}},
          band.tone, QPointF(rect.center().x(), rect.top()));
}

void ChartElementLabels::LabelSpan(const ChartSpan& span, const QLineF& line) {
    if (span.label.empty()) return;
    const QString text = Text(span.label);
    const QRectF box = labels_.Box(text, FontOf(span.tone));
    const double gap = style_.Unit() * kGap;
    const QPointF middle = line.center();
    const double left = middle.x() - box.width() / 2;
    Write({{text, {left, middle.y() - gap - box.height()}}, {text, {left, middle.y() + gap}}},
          span.tone, middle);
}

void ChartElementLabels::LabelLine(const ChartPolyline& line, const std::vector<QPointF>& points) {
    if (line.label.empty() || points.size() < 2) return;
    const QString text = Text(line.label);
    const QRectF box = labels_.Box(text, FontOf(line.tone));
    const double gap = style_.Unit() * kGap;
    std::vector<ChartLabels::Place> places;
    // Above or below its middle, then its quarters, then beyond its ends.
    const QLineF drawn(points.front(), points.back());
    for (double along : {0.5, 0.25, 0.75}) {
        const QPointF at = drawn.pointAt(along);
        places.push_back({text, {at.x() - box.width() / 2, at.y() - gap - box.height()}});
        places.push_back({text, {at.x() - box.width() / 2, at.y() + gap}});
    }
    places.push_back({text, {drawn.x2() + gap, drawn.y2() - box.height() / 2}});
    places.push_back({text, {drawn.x1() - gap - box.width(), drawn.y1() - box.height() / 2}});
    Write(places, line.tone, drawn.center(), drawn);
}

}  // namespace kelvane
