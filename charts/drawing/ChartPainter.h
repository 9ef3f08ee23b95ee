#pragma once

#include <QRectF>

#include "charts/ChartModel.h"

class QPainter;

namespace kelvane {

// Draws a chart model with QPainter, the same on every paint device: the window's chart view, a
// QImage for PNG, a QSvgGenerator for SVG. Inside `area`: the title with the verdict, the facts a
// report needs, the axes with their titles and units, a light grid, then bands, bars, limit
// lines, spans and markers. Pass and fail differ in colour and also in shape (a fail marker is a
// cross, a failed bar is hatched) and in text, so that the chart reads in grey too. Legible from
// 640 x 400 up.
class ChartPainter {
public:
    static void Paint(QPainter& painter, const QRectF& area, const ChartModel& model);
};

}  // namespace kelvane
