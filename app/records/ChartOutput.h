#pragma once

#include <functional>
#include <string>

#include "charts/ChartModel.h"
#include "charts/WrittenChart.h"

namespace kelvane {

// Writes a chart as <folder>/<stem>.svg (and .png beside it when png), never over a file. Only a
// build with the chart drawing (Qt) has one.
using ChartWriter = std::function<WrittenChart(const ChartModel& model, const std::string& folder,
                                               const std::string& stem, bool png)>;

// Where the charts of a run's measurements go (--charts, --charts-png): none while the folder is
// empty or there is no writer.
struct ChartOutput {
    std::string folder;
    bool png = false;
    ChartWriter writer;

    bool Wanted() const { return !folder.empty() && writer; }
};

}  // namespace kelvane
