#pragma once

#include "charts/ChartModel.h"

namespace kelvane {

// Fitting a chart's elements inside its axes, so that whatever the values, the painter draws
// within the plot: a value beyond an axis stands at the axis' end, flagged off-scale.

// Which side of the axis a value lies on: -1 below its min, +1 above its max, 0 on the axis.
int OffScaleSide(const ChartAxis& axis, double value);

// The same for a point and both axes.
ChartOffScale OffScaleOf(const ChartAxis& x, const ChartAxis& y, const ChartPoint& point);

// Fits every element of the model inside its axes (the y axis only where it has ticks; one
// without, the occupied bandwidth's, runs from its min to its max all the same):
//  - a marker beyond an axis moves to the axis' end and is flagged (ChartMarker::offScale);
//  - a bar's top beyond the y axis moves to its end and is flagged (ChartBar::offScale); its
//    sides are cut at the x axis, and a bar wholly beyond it is left out;
//  - a span or band is cut at the x axis and its cut ends flagged open (one wholly beyond the
//    axis shrinks to its end); its heights are held inside the y axis;
//  - a line is cut where it leaves the axes, and goes on as a line of its own where it comes
//    back (the first part keeps the label); a line with nothing inside is left out; a point
//    beyond +-1e300 counts as at +-1e300;
//  - elements with a coordinate that is no finite number are left out, and so are such points
//    of a line (the line goes on from the next one).
void FitIntoAxes(ChartModel& model);

}  // namespace kelvane
