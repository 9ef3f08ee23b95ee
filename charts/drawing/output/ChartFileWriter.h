#pragma once

#include <string>

#include "charts/ChartModel.h"
#include "charts/drawing/ChartFiles.h"
#include "charts/drawing/output/OffscreenApplication.h"

namespace kelvane {

// Writes chart files from a program without a window (the batch program). Drawing text needs a
// QGuiApplication for its fonts; where the program has none, the first Write makes one on Qt's
// offscreen platform, so that no display is needed, and keeps it for the writer's life. Use it
// on the program's main thread, and keep no other QCoreApplication beside it.
class ChartFileWriter {
public:
    // WriteChartFiles, once there is an application.
    WrittenChart Write(const ChartModel& model, const std::string& folder, const std::string& stem,
                       bool png);

private:
    OffscreenApplication application_;
};

}  // namespace kelvane
