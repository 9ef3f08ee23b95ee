#pragma once

#include <QRectF>
#include <vector>

#include "charts/ChartModel.h"
#include "charts/drawing/PaintedElement.h"

class QPainter;

namespace kelvane {

// Draws a chart model with QPainter, the same on every paint device: the window's chart view, a
// QImage for PNG, a QSvgGenerator for SVG. Inside `area`: the title with the verdict, the facts a
// report needs, the legend, the axes with their titles and units, a light grid, then inside
// the plot bands, bars, brackets, limit lines and markers with their labels (ChartElements);
// nothing of them outside the plot. Pass and fail differ in colour and also in shape (a fail
// marker is a cross, a failed bar is hatched) and in text, so that the chart reads in grey too.
// Legible from 640 x 400 up.
class ChartPainter {
public:
    // Returns what was drawn inside the plot (ChartElements::Draw).
    static std::vector<PaintedElement> Paint(QPainter& painter, const QRectF& area,
                                             const ChartModel& model);
};

}  // namespace kelvane
