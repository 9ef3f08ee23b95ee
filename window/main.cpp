#include "app/ProgramMain.h"
#include "charts/drawing/ChartFileWriter.h"
#include "window/WindowProgram.h"

// The program with its window and charts; with --measure it runs without a window, and writes
// its charts (--charts) without a display.
int main(int argc, char** argv) {
    kelvane::ChartFileWriter charts;
    kelvane::QtParts qt{&kelvane::WindowProgram::Run,
                        [&charts](const kelvane::ChartModel& model, const std::string& folder,
                                  const std::string& stem,
                                  bool png) { return charts.Write(model, folder, stem, png); }};
    return kelvane::ProgramMain(argc, argv, qt);
}
