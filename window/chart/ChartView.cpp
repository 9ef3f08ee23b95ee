#include "window/chart/ChartView.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QStringList>

#include "charts/drawing/ChartPainter.h"
#include "charts/drawing/ChartStyle.h"

namespace kelvane {

namespace {

const QString kNothingYet = QStringLiteral("The chart of the next measurement shows here.");

}  // namespace

ChartView::ChartView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("chartView"));
    // The painter fills every pixel: nothing to erase first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ChartView::ShowChart(const ChartModel& model) {
    model_ = model;
    valueText_.clear();
    update();
}

void ChartView::ShowValue(const QString& text) {
    model_.reset();
    valueText_ = text;
    update();
}

void ChartView::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    if (model_) {
        ChartPainter::Paint(painter, QRectF(rect()), *model_);
        return;
    }
    painter.fillRect(rect(), ChartStyle::Background());
    PaintText(painter);
}

void ChartView::PaintText(QPainter& painter) const {
    const QRectF area(rect());
    const ChartStyle style(area);
    const double margin = style.Unit() * 2;
    const QRectF room = area.adjusted(margin, margin, -margin, -margin);
    painter.setRenderHint(QPainter::TextAntialiasing, true);

    if (valueText_.isEmpty()) {
        painter.setFont(style.TextFont());
        painter.setPen(ChartStyle::Facts());
        painter.drawText(room, Qt::AlignCenter | Qt::TextWordWrap, kNothingYet);
        return;
    }
    QStringList lines = valueText_.split(QLatin1Char('\n'));
    const QString headline = lines.takeFirst();
    QFont large = style.TitleFont();
    large.setPixelSize(static_cast<int>(style.Unit() * 2.4));
    const QString rest = lines.join(QLatin1Char('\n'));
    const int flags = Qt::AlignHCenter | Qt::TextWordWrap;
    const QRectF headlineBox = QFontMetricsF(large, this).boundingRect(room, flags, headline);
    const QRectF restBox =
        rest.isEmpty() ? QRectF()
                       : QFontMetricsF(style.TextFont(), this).boundingRect(room, flags, rest);
    const double gap = rest.isEmpty() ? 0 : style.Unit();
    // The headline and the lines below it, together in the middle.
    double top = room.center().y() - (headlineBox.height() + gap + restBox.height()) / 2;
    painter.setFont(large);
    painter.setPen(ChartStyle::Text());
    painter.drawText(QRectF(room.left(), top, room.width(), headlineBox.height()), flags, headline);
    if (rest.isEmpty()) return;
    top += headlineBox.height() + gap;
    painter.setFont(style.TextFont());
    painter.setPen(ChartStyle::Facts());
    painter.drawText(QRectF(room.left(), top, room.width(), restBox.height()), flags, rest);
}

}  // namespace kelvane
