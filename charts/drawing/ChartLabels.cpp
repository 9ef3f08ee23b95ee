#include "charts/drawing/ChartLabels.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <limits>

#include "charts/drawing/ChartGeometry.h"
#include "charts/drawing/ChartStyle.h"

namespace kelvane {

namespace {

constexpr double kMarginEm = 0.2;  // the backing's margin around the text, in the font's size
constexpr double kLineWeight = 3;  // px of a label's area that hiding a pixel of a line costs

double MarginFor(const QFont& font) { return font.pixelSize() * kMarginEm; }

}  // namespace

ChartLabels::ChartLabels(QPainter& painter, const QRectF& bounds)
    : painter_(painter), bounds_(bounds) {}

QRectF ChartLabels::Box(const QString& text, const QFont& font) const {
    const QFontMetricsF metrics(font, painter_.device());
    const QStringList lines = text.split(QLatin1Char('\n'));
    double width = 0;
    for (const QString& line : lines) width = std::max(width, metrics.horizontalAdvance(line));
    const double margin = MarginFor(font);
    return {0, 0, width + 2 * margin, lines.size() * metrics.lineSpacing() + 2 * margin};
}

QRectF ChartLabels::Inside(QRectF box) const {
    box.moveLeft(std::max(bounds_.left(), std::min(box.left(), bounds_.right() - box.width())));
    box.moveTop(std::max(bounds_.top(), std::min(box.top(), bounds_.bottom() - box.height())));
    return box;
}

double ChartLabels::Overlap(const QRectF& box) const {
    double overlap = 0;
    for (const QRectF& earlier : written_) {
        const QRectF common = box.intersected(earlier);
        overlap += common.width() * common.height();
    }
    // A line counts as a few pixels wide: hiding one is better than hiding another label.
    const ChartGeometry cut(ChartAxis{}, ChartAxis{}, box);
    for (const QLineF& line : lines_) {
        if (const auto covered = cut.Clip(line)) overlap += covered->length() * kLineWeight;
    }
    return overlap;
}

QRectF ChartLabels::Write(const std::vector<Place>& places, const QFont& font,
                          const QColor& color) {
    if (places.empty()) return {};
    const Place* best = nullptr;
    QRectF bestBox;
    double bestOverlap = std::numeric_limits<double>::infinity();
    for (const Place& place : places) {
        const QRectF box = Inside(Box(place.text, font).translated(place.topLeft));
        const double overlap = Overlap(box);
        if (overlap < bestOverlap) {
            best = &place;
            bestBox = box;
            bestOverlap = overlap;
        }
        if (overlap == 0) break;
    }
    written_.push_back(bestBox);

    painter_.save();
    QColor backing = ChartStyle::Background();
    backing.setAlphaF(0.85);
    painter_.setPen(Qt::NoPen);
    painter_.setBrush(backing);
    painter_.drawRect(bestBox);
    painter_.setFont(font);
    painter_.setPen(color);
    const double margin = MarginFor(font);
    painter_.drawText(bestBox.adjusted(margin, margin, -margin, -margin),
                      Qt::AlignHCenter | Qt::AlignTop, best->text);
    painter_.restore();
    return bestBox;
}

}  // namespace kelvane
