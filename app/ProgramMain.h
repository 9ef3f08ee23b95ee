#pragma once

#include "app/WindowStart.h"

namespace kelvane {

// The whole program: reads the command line, then prints the usage or the version, runs the
// measurements in batch mode, or starts the window through `launchWindow` (empty in a build
// without the window). Returns the exit status (ExitStatus.h).
int ProgramMain(int argc, char** argv, const WindowLauncher& launchWindow);

}  // namespace kelvane
