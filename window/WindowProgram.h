#pragma once

#include <string>

#include "app/WindowStart.h"

namespace kelvane {

// The window program: one QApplication, one steady clock, the bus thread with the binding
// (registration failures shown in a modal message box) and the analyzer session, and the main
// window. Returns the exit status: 0 when the window was closed, 2 when the display cannot be
// opened, 3 after a registration failure. A WindowLauncher.
class WindowProgram {
public:
    static int Run(int& argc, char** argv, const WindowStart& start);
};

}  // namespace kelvane
