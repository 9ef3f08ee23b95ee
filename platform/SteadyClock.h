#pragma once

#include "platform/Clock.h"

namespace kelvane {

// The operating system's steady clock and a real sleep.
class SteadyClock : public Clock {
public:
    std::chrono::nanoseconds Now() override;
    void Sleep(std::chrono::nanoseconds duration) override;
};

}  // namespace kelvane
