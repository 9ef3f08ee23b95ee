#include "window/DriverChoice.h"

#include <memory>

#include "bus/SystemGpibDriver.h"
#include "simulator/SimulatedAnalyzer.h"

namespace kelvane {

DriverFactory MakeDriverFactory(bool simulate, Clock& clock) {
    if (simulate) {
        return [&clock] { return DriverLoad{std::make_unique<SimulatedAnalyzer>(clock), {}}; };
    }
    return [] { return LoadSystemGpibDriver(); };
}

}  // namespace kelvane
