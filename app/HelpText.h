#pragma once

#include <string>

namespace kelvane {

// The usage in one line, without a line end.
std::string UsageLine();

// The help: several lines, each ending with "\n", naming only what this build offers (with or
// without the window and the charts; adapters where the build has their streams).
std::string HelpText(bool windowAvailable, bool chartsAvailable);

}  // namespace kelvane
