#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QPainter>
#include <QRectF>
#include <QSize>
#include <QSvgGenerator>

#include "charts/ChartModel.h"
#include "charts/drawing/ChartLayout.h"
#include "charts/drawing/ChartPainter.h"
#include "charts/drawing/ChartStyle.h"

namespace kelvane::testing {

// A chart drawn as SVG at `size`, and the layout the painter worked out for it on the same
// device.
struct SvgOfChart {
    SvgOfChart(const ChartModel& model, QSize size)
        : area(QPointF(0, 0), size), style(area), layout(model, area, style, &generator) {
        QBuffer buffer(&svg);
        buffer.open(QIODevice::WriteOnly);
        generator.setOutputDevice(&buffer);
        generator.setSize(size);
        generator.setViewBox(QRect(QPoint(0, 0), size));
        QPainter painter(&generator);
        ChartPainter::Paint(painter, area, model);
    }

    QSvgGenerator generator;
    QRectF area;
    ChartStyle style;
    ChartLayout layout;
    QByteArray svg;
};

}  // namespace kelvane::testing
