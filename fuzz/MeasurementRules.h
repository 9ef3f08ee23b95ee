#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kelvane::fuzz {

// What one measurement may send and log, written down independently of its implementation.
// Shapes use the placeholders of TextShape.h.
struct MeasurementRules {
    std::string title;                       // its title line, e.g. "ACP Measurement..."
    std::vector<std::string> commands;       // every command text it may send, as sent
    std::vector<std::string> commandShapes;  // command texts computed from a reply
    bool tableHeader = false;                // the emission mask's column header precedes results
    std::vector<std::string> resultShapes;   // its result lines, in their order
    // Result lines end with the analyzer's verdict text, which may hold any byte but ','.
    bool verdicts = false;
};

// The rules of the measurement of that catalog name.
MeasurementRules RulesFor(std::string_view catalogName);

}  // namespace kelvane::fuzz
