#pragma once

#include <functional>
#include <string>

#include "app/DriverChoice.h"

namespace kelvane {

// What the window needs from the command line.
struct WindowStart {
    DriverSetup driver;
    std::string caption;  // the title bar text, see WindowCaption
};

// Shows the window until it is closed and returns the exit status (0 closed, 2 the display
// cannot be opened, 3 the GPIB driver could not be registered). Only a build with the window has
// one; argc and argv are the program's own, for the window system.
using WindowLauncher = std::function<int(int& argc, char** argv, const WindowStart& start)>;

}  // namespace kelvane
