#pragma once

#include <functional>
#include <string>

#include "app/bus/BusChoice.h"
#include "gpib/DriverLoad.h"
#include "gpib/TraceLog.h"
#include "platform/Clock.h"
#include "simulator/SimulatedBench.h"

namespace kelvane {

// What the program's driver is made of.
struct DriverSetup {
    bool simulate = false;  // the simulated analyzer, whatever the bus
    BusChoice bus;
    TraceLog* trace = nullptr;  // every driver call goes there when set; must outlive the driver
    // The simulated analyzer's bench, read at each of its sessions; the default bench when null.
    // Must outlive the driver.
    const SimulatedBench* simulatedBench = nullptr;
};

// The driver the program's binding brings up at its first call: the simulated analyzer, which
// runs on `clock` (it must outlive the binding), a Prologix-protocol adapter (on `clock` too),
// or the system's GPIB library. The simulator is used only when asked for, never as a
// stand-in for a missing driver.
DriverFactory MakeDriverFactory(const DriverSetup& setup, Clock& clock);

}  // namespace kelvane
