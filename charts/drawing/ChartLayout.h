#pragma once

#include <QRectF>
#include <QString>
#include <QStringList>
#include <vector>

#include "charts/ChartModel.h"
#include "charts/drawing/ChartGeometry.h"
#include "charts/drawing/ChartStyle.h"

class QPaintDevice;

namespace kelvane {

// Where the parts of a chart go inside an area of a paint device (whose font metrics it uses):
// the title on top, the facts below it (as many to a line as fit), the legend below them, then
// the plot, with room to its left for the y axis' tick labels and title and below it for the x
// axis'. A y axis with neither title nor ticks is not drawn and takes no room; such a plot is a
// strip of 18 units' height (ChartStyle::Unit) in the middle of the room, its height meaning
// nothing.
class ChartLayout {
public:
    ChartLayout(const ChartModel& model, const QRectF& area, const ChartStyle& style,
                const QPaintDevice* device);

    const ChartGeometry& Geometry() const { return geometry_; }
    const QRectF& Plot() const { return geometry_.Plot(); }
    const QRectF& TitleRect() const { return title_; }
    // The facts joined into lines that fit the width, and where the first line goes.
    const QStringList& FactLines() const { return factLines_; }
    const QRectF& FactsRect() const { return facts_; }
    // The legend's entries' boxes (ChartLegend), one per entry of the model's legend, and the
    // room they take together (empty without a legend).
    const std::vector<QRectF>& LegendBoxes() const { return legendBoxes_; }
    const QRectF& LegendRect() const { return legend_; }
    bool ShowsYAxis() const { return showsYAxis_; }
    // The ticks' labels, one per tick, in the axes' order.
    const QStringList& XTickTexts() const { return xTicks_; }
    const QStringList& YTickTexts() const { return yTicks_; }
    // Below the x tick labels; left of the y tick labels (the title is turned to read upwards).
    const QRectF& XTitleRect() const { return xTitle_; }
    const QRectF& YTitleRect() const { return yTitle_; }
    double TickLength() const { return tickLength_; }

    // A tick's label: as many decimals as the axis' ticks need (at most 3), the same for all;
    // on an axis with a tick of a magnitude of 1e6 or more, three significant digits with an
    // exponent ("1e+300"), so that no label runs to hundreds of digits.
    static QStringList TickTexts(const ChartAxis& axis);
    // The facts, joined by a middle dot into lines no wider than `width`.
    static QStringList FactLinesFor(const std::vector<std::string>& facts, const QFont& font,
                                    const QPaintDevice* device, double width);

private:
    ChartGeometry geometry_;
    QRectF title_;
    QStringList factLines_;
    QRectF facts_;
    std::vector<QRectF> legendBoxes_;
    QRectF legend_;
    bool showsYAxis_;
    QStringList xTicks_;
    QStringList yTicks_;
    QRectF xTitle_;
    QRectF yTitle_;
    double tickLength_;
};

}  // namespace kelvane
