#include "app/WindowCaption.h"

namespace kelvane {

std::string WindowCaption(bool simulated, const std::string& busText) {
    std::string caption = "Kelvane (V1.2)";
    if (simulated) return caption + " [simulated analyzer]";
    if (busText.empty() || busText == "gpib") return caption;
    return caption + " [" + busText + "]";
}

}  // namespace kelvane
