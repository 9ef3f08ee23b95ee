#pragma once

#include <functional>
#include <memory>
#include <string>

#include "gpib/GpibDriver.h"

namespace kelvane {

// The outcome of bringing up a driver: either a driver, or the reason it could not be had
// (for example which library could not be opened or which entry it lacks).
struct DriverLoad {
    std::unique_ptr<GpibDriver> driver;
    std::string failure;
};

// Called once, at the first driver call of the program's life.
using DriverFactory = std::function<DriverLoad()>;

}  // namespace kelvane
