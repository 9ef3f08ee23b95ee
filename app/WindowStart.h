#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/bus/DriverChoice.h"
#include "measurements/MeasurementSetup.h"
#include "results/RecordOrigin.h"
#include "results/RecordTarget.h"

namespace kelvane {

// What the window needs from the command line.
struct WindowStart {
    DriverSetup driver;
    MeasurementSetup setup;  // the bench's set-up the window starts with
    // Called on the bus thread before each measurement with its set-up (SetupFollower).
    std::function<void(const MeasurementSetup& setup)> followSetup;
    std::string recordBus;  // the bus as records name it
    // Each gets a record of each measurement as it ends (--results). They outlive the window.
    std::vector<RecordTarget*> targets;
    // Whose measurements they are (DUT, operator, station) until the set-up dialog changes it.
    RecordOrigin origin = {};
};

// Shows the window until it is closed and returns the exit status (0 closed, 2 the display
// cannot be opened, 3 the GPIB driver could not be registered). Only a build with the window has
// one; argc and argv are the program's own, for the window system.
using WindowLauncher = std::function<int(int& argc, char** argv, const WindowStart& start)>;

}  // namespace kelvane
