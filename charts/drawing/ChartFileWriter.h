#pragma once

#include <QGuiApplication>
#include <array>
#include <memory>
#include <string>

#include "charts/ChartModel.h"
#include "charts/drawing/ChartFiles.h"

namespace kelvane {

// Writes chart files from a program without a window (the batch program). Drawing text needs a
// QGuiApplication for its fonts; where the program has none, the first Write makes one on Qt's
// offscreen platform, so that no display is needed, and keeps it for the writer's life. Use it
// on the program's main thread, and keep no other QCoreApplication beside it.
class ChartFileWriter {
public:
    ChartFileWriter();
    ~ChartFileWriter();
    ChartFileWriter(const ChartFileWriter&) = delete;
    ChartFileWriter& operator=(const ChartFileWriter&) = delete;

    // WriteChartFiles, once there is an application.
    WrittenChart Write(const ChartModel& model, const std::string& folder, const std::string& stem,
                       bool png);

private:
    void MakeSureOfApplication();

    // The application's arguments, which must outlive it: "kelvane -platform offscreen".
    std::array<std::string, 3> arguments_{"kelvane", "-platform", "offscreen"};
    std::array<char*, 4> argv_{};
    int argc_ = 3;
    std::unique_ptr<QGuiApplication> application_;
};

}  // namespace kelvane
