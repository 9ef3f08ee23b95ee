#include "app/ProgramMain.h"
#include "charts/drawing/output/ChartFileWriter.h"
#include "charts/drawing/output/ChartSvg.h"
#include "window/WindowProgram.h"

// The program with its window and charts; with --measure it runs without a window, and writes
// its charts (--charts) and its report's charts (--report) without a display.
int main(int argc, char** argv) {
    kelvane::ChartFileWriter charts;
    kelvane::ChartSvg reportCharts;
    kelvane::QtParts qt{
        &kelvane::WindowProgram::Run,
        [&charts](const kelvane::ChartModel& model, const std::string& folder,
                  const std::string& stem,
                  bool png) { return charts.Write(model, folder, stem, png); },
        [&reportCharts](const kelvane::ChartModel& model) { return reportCharts(model); }};
    return kelvane::ProgramMain(argc, argv, qt);
}
