#pragma once

#include <QString>
#include <functional>
#include <string>

#include "charts/ChartModel.h"
#include "charts/WrittenChart.h"

namespace kelvane {

// The chart as files, drawn by ChartPainter: SVG through QSvgGenerator, PNG through a QImage.
// Needs a QGuiApplication (ChartFileWriter makes one where there is none).

// Called with a file's path after its name was found free and before the file is created: where
// a test makes the file meanwhile, as another program could.
using BeforeChartFile = std::function<void(const QString& path)>;

// Writes <folder>/<stem>.svg, and <folder>/<stem>.png beside it when `png`, making the folder
// (and its parents) when it is not there; never over an existing file, not even one made after
// the name was found free: the stem gets "-2", "-3" ... until neither name is taken.
WrittenChart WriteChartFiles(const ChartModel& model, const std::string& folder,
                             const std::string& stem, bool png,
                             const BeforeChartFile& beforeCreate = {});

// One picture at `path`, SVG or PNG by its name (".svg" in any case, else PNG), replacing the
// file; empty on success, else the reason.
QString SaveChartPicture(const ChartModel& model, const QString& path);

}  // namespace kelvane
