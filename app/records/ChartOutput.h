#pragma once

#include <functional>
#include <string>
#include <vector>

#include "charts/ChartModel.h"

namespace kelvane {

// What writing a chart's files gave: the files written, or the line that says why not.
struct WrittenChart {
    std::vector<std::string> paths;
    std::string failure;  // e.g. "cannot write the chart \"<path>\": <reason>"; empty: written
};

// Writes a chart as <folder>/<stem>.svg (and .png beside it when png), never over a file. Only a
// build with the chart drawing (Qt) has one.
using ChartWriter = std::function<WrittenChart(const ChartModel& model, const std::string& folder,
                                               const std::string& stem, bool png)>;

}  // namespace kelvane
