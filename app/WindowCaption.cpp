#include "app/WindowCaption.h"

#include "app/SetupText.h"

namespace kelvane {

std::string WindowCaption(bool simulated, const std::string& busText,
                          const MeasurementSetup& setup) {
    std::string caption = "Kelvane (V1.2)";
    if (simulated) {
        caption += " [simulated analyzer]";
    } else if (!busText.empty() && busText != "gpib") {
        caption += " [" + busText + "]";
    }
    const std::string changes = SetupChanges(setup);
    return changes.empty() ? caption : caption + " - " + changes;
}

}  // namespace kelvane
