#include "app/Usage.h"

#include "app/databases/DatabaseOptions.h"

namespace kelvane {

std::string UsageLine() {
    // The database actions only where the build has them.
    return std::string(
               "usage: kelvane [--simulate | --bus WHERE] [--trace FILE] [--results FILE] "
               "[SET-UP]... [--repeat N] [--charts FOLDER [--charts-png]] [--report FILE] "
               "[--measure NAME]... ") +
           (DatabaseOptions::kAvailable
                ? "| --sync URL [--journal FILE] | --history TARGET [SELECTION]... "
                : "") +
           "| --help | --version";
}

}  // namespace kelvane
