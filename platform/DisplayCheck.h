#pragma once

#include <functional>
#include <string>

namespace kelvane {

// Looks up an environment variable; nullptr when it is not set.
using EnvironmentLookup = std::function<const char*(const char* name)>;

// Whether the window can be shown: DISPLAY or WAYLAND_DISPLAY is set, or QT_QPA_PLATFORM
// names a platform that needs no display server (offscreen, minimal, vnc, linuxfb, eglfs, also
// as "name:options" or as one entry of a ';'-separated list). Empty values count as unset.
bool DisplayAvailable(const EnvironmentLookup& environment);

// What to tell the operator when there is no display, ending with "\n".
std::string NoDisplayMessage();

}  // namespace kelvane
