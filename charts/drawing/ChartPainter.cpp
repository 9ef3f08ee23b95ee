#include "charts/drawing/ChartPainter.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPen>
#include <algorithm>
#include <cmath>

#include "charts/drawing/ChartElements.h"
#include "charts/drawing/ChartLayout.h"
#include "charts/drawing/ChartLegend.h"
#include "charts/drawing/ChartStyle.h"

namespace kelvane {

namespace {

// Every how many ticks a label fits: labels keep at least `room` pixels apart, centre to centre.
qsizetype LabelStep(const std::vector<double>& positions, double room) {
    double closest = 0;
    for (std::size_t i = 1; i < positions.size(); ++i) {
        const double distance = std::abs(positions[i] - positions[i - 1]);
        closest = i == 1 ? distance : std::min(closest, distance);
    }
    if (closest <= 0) return 1;
    return std::max<qsizetype>(1, static_cast<qsizetype>(std::ceil(room / closest)));
}

void DrawHeader(QPainter& painter, const ChartModel& model, const ChartLayout& layout,
                const ChartStyle& style) {
    // The title names the verdict; a failing chart's title is also in the failure's colour.
    painter.setFont(style.TitleFont());
    painter.setPen(model.verdict == Verdict::Fail ? ChartStyle::Ink(ChartTone::Fail)
                                                  : ChartStyle::Text());
    const QRectF& title = layout.TitleRect();
    const QFontMetricsF titleMetrics(style.TitleFont(), painter.device());
    painter.drawText(title, Qt::AlignLeft | Qt::AlignVCenter,
                     titleMetrics.elidedText(QString::fromStdString(model.title), Qt::ElideRight,
                                             title.width()));

    painter.setFont(style.TextFont());
    painter.setPen(ChartStyle::Facts());
    const QFontMetricsF metrics(style.TextFont(), painter.device());
    QRectF line = layout.FactsRect();
    line.setHeight(metrics.lineSpacing());
    for (const QString& fact : layout.FactLines()) {
        painter.drawText(line, Qt::AlignLeft | Qt::AlignVCenter,
                         metrics.elidedText(fact, Qt::ElideRight, line.width()));
        line.translate(0, metrics.lineSpacing());
    }
}

void DrawXAxis(QPainter& painter, const ChartModel& model, const ChartLayout& layout,
               const ChartStyle& style) {
    const ChartGeometry& geometry = layout.Geometry();
    const QRectF& plot = layout.Plot();
    const QFontMetricsF metrics(style.LabelFont(), painter.device());
    std::vector<double> positions;
    double widest = 0;
    for (std::size_t i = 0; i < model.x.ticks.size(); ++i) {
        positions.push_back(geometry.X(model.x.ticks[i]));
        widest = std::max(widest, metrics.horizontalAdvance(layout.XTickTexts()[qsizetype(i)]));
    }
    const qsizetype step = LabelStep(positions, widest + style.Unit());
    painter.setFont(style.LabelFont());
    for (std::size_t i = 0; i < positions.size(); ++i) {
        const double x = positions[i];
        if (!std::isfinite(x) || x < plot.left() - 0.5 || x > plot.right() + 0.5) continue;
        painter.setPen(QPen(ChartStyle::Grid(), 1));
        painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
        painter.setPen(QPen(ChartStyle::Frame(), 1));
        painter.drawLine(QPointF(x, plot.bottom()),
                         QPointF(x, plot.bottom() + layout.TickLength()));
        if (qsizetype(i) % step != 0) continue;
        painter.setPen(ChartStyle::Text());
        const QString& text = layout.XTickTexts()[qsizetype(i)];
        const double width = metrics.horizontalAdvance(text);
        painter.drawText(
            QRectF(x - width / 2 - 1, plot.bottom() + layout.TickLength() + style.Unit() * 0.2,
                   width + 2, metrics.height()),
            Qt::AlignCenter, text);
    }
    painter.setFont(style.TextFont());
    painter.setPen(ChartStyle::Text());
    painter.drawText(layout.XTitleRect(), Qt::AlignCenter, QString::fromStdString(model.x.title));
}

void DrawYAxis(QPainter& painter, const ChartModel& model, const ChartLayout& layout,
               const ChartStyle& style) {
    const ChartGeometry& geometry = layout.Geometry();
    const QRectF& plot = layout.Plot();
    const QFontMetricsF metrics(style.LabelFont(), painter.device());
    std::vector<double> positions;
    for (double tick : model.y.ticks) positions.push_back(geometry.Y(tick));
    const qsizetype step = LabelStep(positions, metrics.height() * 1.2);
    painter.setFont(style.LabelFont());
    for (std::size_t i = 0; i < positions.size(); ++i) {
        const double y = positions[i];
        if (!std::isfinite(y) || y < plot.top() - 0.5 || y > plot.bottom() + 0.5) continue;
        painter.setPen(QPen(ChartStyle::Grid(), 1));
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        painter.setPen(QPen(ChartStyle::Frame(), 1));
        painter.drawLine(QPointF(plot.left() - layout.TickLength(), y), QPointF(plot.left(), y));
        if (qsizetype(i) % step != 0) continue;
        painter.setPen(ChartStyle::Text());
        const double right = plot.left() - layout.TickLength() - style.Unit() * 0.2;
        painter.drawText(QRectF(layout.YTitleRect().right(), y - metrics.height() / 2,
                                right - layout.YTitleRect().right(), metrics.height()),
                         Qt::AlignRight | Qt::AlignVCenter, layout.YTickTexts()[qsizetype(i)]);
    }
    // The title reads upwards, centred beside the plot.
    const QRectF& title = layout.YTitleRect();
    painter.save();
    painter.translate(title.center());
    painter.rotate(-90);
    painter.setFont(style.TextFont());
    painter.setPen(ChartStyle::Text());
    const QFontMetricsF textMetrics(style.TextFont(), painter.device());
    const QString text = textMetrics.elidedText(QString::fromStdString(model.y.title),
                                                Qt::ElideRight, title.height());
    painter.drawText(QRectF(-title.height() / 2, -title.width() / 2, title.height(), title.width()),
                     Qt::AlignCenter, text);
    painter.restore();
}

}  // namespace

std::vector<PaintedElement> ChartPainter::Paint(QPainter& painter, const QRectF& area,
                                                const ChartModel& model) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.fillRect(area, ChartStyle::Background());

    const ChartStyle style(area);
    const ChartLayout layout(model, area, style, painter.device());
    DrawHeader(painter, model, layout, style);
    DrawXAxis(painter, model, layout, style);
    if (layout.ShowsYAxis()) DrawYAxis(painter, model, layout, style);

    ChartLegend::Draw(painter, model.legend, layout.LegendBoxes(), style);
    std::vector<PaintedElement> painted =
        ChartElements(painter, layout.Geometry(), style).Draw(model);

    // The plot's frame on top of its contents; without a y axis only the x axis' line.
    const QRectF& plot = layout.Plot();
    painter.setPen(QPen(ChartStyle::Frame(), 1));
    painter.setBrush(Qt::NoBrush);
    if (layout.ShowsYAxis()) {
        painter.drawRect(plot);
    } else {
        painter.drawLine(plot.bottomLeft(), plot.bottomRight());
    }
    painter.restore();
    return painted;
}

}  // namespace kelvane
