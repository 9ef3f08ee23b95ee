#pragma once

#include <string>

#include "window/DriverChoice.h"

namespace kelvane {

// The window program: one QApplication, one steady clock, the binding (registration failures
// shown in a modal message box), one analyzer session and Form1. Returns the exit status:
// 0 when the window was closed, 3 after a registration failure. caption: the window's title.
class WindowProgram {
public:
    static int Run(int& argc, char** argv, DriverSetup setup, const std::string& caption);
};

}  // namespace kelvane
