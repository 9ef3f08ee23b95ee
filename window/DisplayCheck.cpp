#include "window/DisplayCheck.h"

namespace kelvane {

bool DisplayAvailable(const EnvironmentLookup& environment) {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* value = environment(name);
        if (value != nullptr && *value != '\0') return true;
    }
    return false;
}

std::string NoDisplayMessage() {
    return "kelvane: the measurement window needs a display, and none was found "
           "(neither DISPLAY nor WAYLAND_DISPLAY is set).\n"
           "Run the measurements without a window instead, for example:\n"
           "  kelvane --simulate --measure all    (simulated analyzer)\n"
           "  kelvane --measure all               (analyzer on the GPIB bus)\n"
           "See kelvane --help.\n";
}

}  // namespace kelvane
