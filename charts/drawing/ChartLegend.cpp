#include "charts/drawing/ChartLegend.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QString>
#include <algorithm>

#include "charts/drawing/ChartShapes.h"

namespace kelvane {

namespace {

// Shares of the style's unit: an entry's symbol, and the gap between it and its text.
constexpr double kSymbolWidth = 2.4;
constexpr double kSymbolGap = 0.5;

const QFont& FontOf(const ChartLegendEntry& entry, const ChartStyle& style) {
    return entry.tone == ChartTone::Fail ? style.FailLabelFont() : style.LabelFont();
}

void DrawSymbol(QPainter& painter, const ChartLegendEntry& entry, const QRectF& room,
                const ChartStyle& style) {
    const ChartShapes shapes(painter, style);
    const QPointF middle = room.center();
    switch (entry.symbol) {
    case ChartSymbol::Line:
    case ChartSymbol::DashedLine: {
        QPainterPath path(QPointF(room.left(), middle.y()));
        path.lineTo(room.right(), middle.y());
        shapes.Line(path, entry.tone, entry.symbol == ChartSymbol::DashedLine);
        break;
    }
    case ChartSymbol::Bracket:
        shapes.Bracket(room.left() + 1, room.right() - 1, middle.y(), entry.tone, false, false);
        break;
    case ChartSymbol::Dot:
    case ChartSymbol::Cross:
        shapes.Marker(middle, entry.symbol == ChartSymbol::Cross ? ChartTone::Fail : entry.tone);
        break;
    case ChartSymbol::Box:
    case ChartSymbol::HatchedBox:
        shapes.Box(room.adjusted(1, room.height() * 0.1, -1, -room.height() * 0.1), entry.tone,
                   entry.symbol == ChartSymbol::HatchedBox);
        break;
    }
}

}  // namespace

std::vector<QRectF> ChartLegend::Place(const std::vector<ChartLegendEntry>& entries,
                                       const ChartStyle& style, const QPaintDevice* device,
                                       const QRectF& room) {
    const double unit = style.Unit();
    std::vector<QRectF> boxes;
    QPointF at = room.topLeft();
    for (const ChartLegendEntry& entry : entries) {
        const QFontMetricsF metrics(FontOf(entry, style), device);
        const double width = unit * (kSymbolWidth + kSymbolGap) +
                             metrics.horizontalAdvance(QString::fromStdString(entry.text));
        const double height = std::max(metrics.height(), unit);
        if (at.x() > room.left() && at.x() + width > room.right())
            at = QPointF(room.left(), boxes.back().bottom() + unit * 0.3);  // the next line
        boxes.emplace_back(at, QSizeF(width, height));
        at.setX(at.x() + width + unit * 1.6);  // the gap to the next entry
    }
    return boxes;
}

void ChartLegend::Draw(QPainter& painter, const std::vector<ChartLegendEntry>& entries,
                       const std::vector<QRectF>& boxes, const ChartStyle& style) {
    const double unit = style.Unit();
    painter.save();
    for (std::size_t i = 0; i < entries.size() && i < boxes.size(); ++i) {
        const ChartLegendEntry& entry = entries[i];
        const QRectF& box = boxes[i];
        DrawSymbol(painter, entry, QRectF(box.left(), box.top(), unit * kSymbolWidth, box.height()),
                   style);
        painter.setFont(FontOf(entry, style));
        painter.setPen(ChartStyle::Text());
        painter.drawText(box.adjusted(unit * (kSymbolWidth + kSymbolGap), 0, 0, 0),
                         Qt::AlignLeft | Qt::AlignVCenter, QString::fromStdString(entry.text));
    }
    painter.restore();
}

}  // namespace kelvane
