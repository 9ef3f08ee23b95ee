#pragma once

#include <stdexcept>
#include <string>

namespace kelvane {

// An analyzer answer that a measurement cannot use. Thrown inside a measurement run and caught
// by its MeasurementRun, which logs the reason and sets the analyzer back; it never leaves the
// measurement function.
class BadReply : public std::runtime_error {
public:
    // reason: what was wrong, naming the query, e.g. "\"ACP?\" answer 1 has 2 fields, 4 expected"
    explicit BadReply(const std::string& reason) : std::runtime_error(reason) {}
};

}  // namespace kelvane
