#pragma once

#include <string>
#include <vector>

namespace kelvane {

// What writing a chart's files gave: the files written, or the line that says why (one of) them
// could not be written.
struct WrittenChart {
    std::vector<std::string> paths;
    std::string failure;  // "cannot write the chart \"<path>\": <reason>"; empty: written
};

}  // namespace kelvane
