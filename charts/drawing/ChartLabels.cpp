#include "charts/drawing/ChartLabels.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

#include "charts/drawing/ChartGeometry.h"
#include "charts/drawing/ChartStyle.h"

namespace kelvane {

namespace {

constexpr double kMarginEm = 0.2;  // the backing's margin around the text, in the font's size
constexpr double kLineWeight = 3;  // px of a label's area that hiding a pixel of a line costs

double MarginFor(const QFont& font) { return font.pixelSize() * kMarginEm; }

double Area(const QRectF& a, const QRectF& b) {
    const QRectF common = a.intersected(b);
    return common.isEmpty() ? 0 : common.width() * common.height();
}

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

double ChartLabels::Collision(const QRectF& box) const {
    double area = 0;
    for (const QRectF& earlier : written_) area += Area(box, earlier);
    for (const QRectF& shape : reserved_) area += Area(box, shape);
    return area;
}

bool ChartLabels::LeaderCrossesALabel(const QRectF& box, const QPointF& anchor) const {
    const QLineF leader(anchor, QPointF(std::clamp(anchor.x(), box.left(), box.right()),
                                        std::clamp(anchor.y(), box.top(), box.bottom())));
    return std::any_of(written_.begin(), written_.end(), [&](const QRectF& label) {
        // Touching a label's edge is not crossing it.
        const QRectF inner = label.adjusted(1, 1, -1, -1);
        return inner.isValid() &&
               ChartGeometry(ChartAxis{}, ChartAxis{}, inner).Clip(leader).has_value();
    });
}

double ChartLabels::LineCover(const QRectF& box) const {
    // A line counts as a few pixels wide: hiding one is better than hiding another label.
    const ChartGeometry cut(ChartAxis{}, ChartAxis{}, box);
    double cover = 0;
    for (const QLineF& line : lines_) {
        if (const auto covered = cut.Clip(line)) cover += covered->length() * kLineWeight;
    }
    return cover;
}

std::vector<QRectF> ChartLabels::AroundAnchor(const QRectF& size, const QPointF& anchor) const {
    // A grid over the bounds, half a label wide and half a label high, nearest to the anchor
    // first.
    const double stepX = std::max(1.0, size.width() / 2);
    const double stepY = std::max(1.0, size.height() / 2);
    const int across = static_cast<int>(std::ceil(bounds_.width() / stepX));
    const int down = static_cast<int>(std::ceil(bounds_.height() / stepY));
    const QPointF origin = anchor - QPointF(size.width() / 2, size.height() / 2);
    std::vector<QRectF> boxes;
    for (int i = -across; i <= across; ++i) {
        for (int j = -down; j <= down; ++j) {
            const QRectF box(origin + QPointF(i * stepX, j * stepY), size.size());
            if (bounds_.contains(box)) boxes.push_back(box);
        }
    }
    const auto distance = [&](const QRectF& box) {
        const QPointF d = box.center() - anchor;
        return d.x() * d.x() + d.y() * d.y();
    };
    std::stable_sort(boxes.begin(), boxes.end(),
                     [&](const QRectF& a, const QRectF& b) { return distance(a) < distance(b); });
    return boxes;
}

std::optional<QRectF> ChartLabels::NearestClear(const QRectF& size, const QPointF& anchor) const {
    // A place off the lines is worth a few lines' more distance, no more; one whose leader
    // crosses a label only where no other is clear.
    const double farther = 3 * size.height();
    std::optional<QRectF> clear;
    std::optional<QRectF> crossing;
    double clearDistance = 0;
    for (const QRectF& box : AroundAnchor(size, anchor)) {
        const double distance = QLineF(box.center(), anchor).length();
        if (clear && distance > clearDistance + farther) break;
        if (Collision(box) != 0) continue;
        if (LeaderCrossesALabel(box, anchor)) {
            if (!crossing) crossing = box;
            continue;
        }
        if (LineCover(box) == 0) return box;
        if (!clear) {
            clear = box;
            clearDistance = distance;
        }
    }
    return clear ? clear : crossing;
}

QRectF ChartLabels::Write(const std::vector<Place>& places, const QFont& font, const QColor& color,
                          const QPointF& anchor) {
    if (places.empty()) return {};
    const QString* text = &places.front().text;
    QRectF chosen;
    bool found = false;
    double clearCover = std::numeric_limits<double>::infinity();
    double leastCollision = std::numeric_limits<double>::infinity();
    QRectF least;
    const QString* leastText = text;
    for (const Place& place : places) {
        const QRectF box = Inside(Box(place.text, font).translated(place.topLeft));
        const double collision = Collision(box);
        if (collision == 0) {
            const double cover = LineCover(box);
            if (cover < clearCover) {
                chosen = box;
                text = &place.text;
                clearCover = cover;
                found = true;
            }
            if (cover == 0) break;
        } else if (collision < leastCollision) {
            least = box;
            leastText = &place.text;
            leastCollision = collision;
        }
    }
    if (!found) {
        const QString& first = places.front().text;
        const std::optional<QRectF> clear = NearestClear(Box(first, font), anchor);
        found = clear.has_value();
        chosen = clear.value_or(least);
        text = found ? &first : leastText;
    }
    written_.push_back(chosen);

    painter_.save();
    QColor backing = ChartStyle::Background();
    backing.setAlphaF(0.85);
    painter_.setPen(Qt::NoPen);
    painter_.setBrush(backing);
    painter_.drawRect(chosen);
    painter_.setFont(font);
    painter_.setPen(color);
    const double margin = MarginFor(font);
    painter_.drawText(chosen.adjusted(margin, margin, -margin, -margin),
                      Qt::AlignHCenter | Qt::AlignTop, *text);
    painter_.restore();
    return chosen;
}

}  // namespace kelvane
