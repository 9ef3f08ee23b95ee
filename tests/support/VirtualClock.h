#pragma once

#include "platform/Clock.h"

namespace kelvane {

// A clock that only moves when someone sleeps on it (or Advance is called): a 10 s time-out
// passes in microseconds.
class VirtualClock : public Clock {
public:
    std::chrono::nanoseconds Now() override { return now_; }
    void Sleep(std::chrono::nanoseconds duration) override { now_ += duration; }
    void Advance(std::chrono::nanoseconds duration) { now_ += duration; }

private:
    std::chrono::nanoseconds now_{0};
};

}  // namespace kelvane
