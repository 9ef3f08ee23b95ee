#pragma once

#include "bus/Clock.h"
#include "bus/DriverLoad.h"

namespace kelvane {

// The driver the program's binding brings up at its first call: the simulated analyzer, which
// runs on `clock` (it must outlive the binding), or the system's GPIB library. The simulator is
// used only when asked for, never as a stand-in for a missing driver.
DriverFactory MakeDriverFactory(bool simulate, Clock& clock);

}  // namespace kelvane
