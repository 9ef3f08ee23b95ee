#include "platform/DisplayCheck.h"

#include <array>
#include <string_view>

namespace kelvane {

namespace {

// Qt platforms that draw without a display server (off screen, to a frame buffer or a VNC
// client).
constexpr std::array<std::string_view, 5> kServerlessPlatforms{"offscreen", "minimal", "vnc",
                                                               "linuxfb", "eglfs"};

bool IsSet(const char* value) { return value != nullptr && *value != '\0'; }

// One entry of QT_QPA_PLATFORM: "name" or "name:options".
bool IsServerless(std::string_view entry) {
    const std::string_view name = entry.substr(0, entry.find(':'));
    for (const std::string_view platform : kServerlessPlatforms) {
        if (name == platform) return true;
    }
    return false;
}

}  // namespace

bool DisplayAvailable(const EnvironmentLookup& environment) {
    if (IsSet(environment("DISPLAY")) || IsSet(environment("WAYLAND_DISPLAY"))) return true;
    const char* platform = environment("QT_QPA_PLATFORM");
    if (!IsSet(platform)) return false;
    // Qt tries the ';'-separated entries in turn, so one serverless entry is enough.
    std::string_view rest = platform;
    while (true) {
        const std::size_t end = rest.find(';');
        if (IsServerless(rest.substr(0, end))) return true;
        if (end == std::string_view::npos) return false;
        rest.remove_prefix(end + 1);
    }
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
