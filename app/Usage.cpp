#include "app/Usage.h"

namespace kelvane {

std::string UsageLine() {
    return "usage: kelvane [--simulate | --bus WHERE] [--trace FILE] [--results FILE] [SET-UP]... "
           "[--repeat N] [--charts FOLDER [--charts-png]] [--report FILE] [--measure NAME]... | "
           "--help | "
           "--version";
}

}  // namespace kelvane
