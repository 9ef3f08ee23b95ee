#pragma once

#include <QRectF>
#include <vector>

#include "charts/ChartModel.h"
#include "charts/drawing/ChartStyle.h"

class QPainter;
class QPaintDevice;

namespace kelvane {

// The legend of a chart, between its facts and its plot: each entry its symbol, drawn as the
// plot draws that kind of element (ChartShapes), and its text, side by side in lines that fit
// the width. A failing entry's text is bold, as a failing element's label is.
class ChartLegend {
public:
    // Each entry's box, flowing from the top left of `room` in lines no wider than it.
    static std::vector<QRectF> Place(const std::vector<ChartLegendEntry>& entries,
                                     const ChartStyle& style, const QPaintDevice* device,
                                     const QRectF& room);
    // Draws the entries in their boxes (Place).
    static void Draw(QPainter& painter, const std::vector<ChartLegendEntry>& entries,
                     const std::vector<QRectF>& boxes, const ChartStyle& style);
};

}  // namespace kelvane
