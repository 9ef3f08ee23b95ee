#pragma once

#include <string>

#include "app/Usage.h"

namespace kelvane {

// The help: several lines, each ending with "\n", naming only what this build offers (with or
// without the window and the charts; adapters where the build has their streams). It begins with
// UsageLine().
std::string HelpText(bool windowAvailable, bool chartsAvailable);

}  // namespace kelvane
