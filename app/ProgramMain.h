#pragma once

#include "app/WindowStart.h"
#include "app/records/ChartOutput.h"
#include "report/ReportFacts.h"

namespace kelvane {

// What a build with Qt adds to the program; all empty in the build without it.
struct QtParts {
    WindowLauncher launchWindow;  // the window
    ChartWriter writeChart;       // chart files (--charts), also without a display
    ChartSvgSource chartSvg;      // the report's charts (--report), also without a display
};

// The whole program: reads the command line, then prints the usage or the version, runs the
// measurements in batch mode, or starts the window. Returns the exit status (ExitStatus.h).
int ProgramMain(int argc, char** argv, const QtParts& qt);

}  // namespace kelvane
