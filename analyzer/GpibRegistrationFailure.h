#pragma once

#include <stdexcept>
#include <string>

namespace kelvane {

// Thrown by the binding after the driver's per-thread registration failed and its message was
// shown: the program must end at once, with no further driver call. Catch it only where the
// program can close its window and exit with status 3.
class GpibRegistrationFailure : public std::runtime_error {
public:
    explicit GpibRegistrationFailure(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace kelvane
