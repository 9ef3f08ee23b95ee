#pragma once

#include <QString>
#include <string>

#include "charts/ChartModel.h"
#include "charts/WrittenChart.h"

namespace kelvane {

// The chart as files, drawn by ChartPainter: SVG through QSvgGenerator, PNG through a QImage.
// Needs a QGuiApplication (ChartFileWriter makes one where there is none).

// Writes <folder>/<stem>.svg, and <folder>/<stem>.png beside it when `png`, making the folder
// (and its parents) when it is not there; never over an existing file: the stem gets "-2",
// "-3" ... until neither name is taken.
WrittenChart WriteChartFiles(const ChartModel& model, const std::string& folder,
                             const std::string& stem, bool png);

// One picture at `path`, SVG or PNG by its name (".svg" in any case, else PNG), replacing the
// file; empty on success, else the reason.
QString SaveChartPicture(const ChartModel& model, const QString& path);

}  // namespace kelvane
