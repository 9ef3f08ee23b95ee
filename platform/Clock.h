#pragma once

#include <chrono>

namespace kelvane {

// Sleep and steady time, injected so that waits run on a virtual clock in tests.
class Clock {
public:
    virtual ~Clock() = default;
    // Time since an arbitrary fixed start, never going back.
    virtual std::chrono::nanoseconds Now() = 0;
    virtual void Sleep(std::chrono::nanoseconds duration) = 0;
};

}  // namespace kelvane
