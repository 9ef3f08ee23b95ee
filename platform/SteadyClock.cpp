#include "platform/SteadyClock.h"

#include <thread>

namespace kelvane {

std::chrono::nanoseconds SteadyClock::Now() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
        std::chrono::steady_clock::now().time_since_epoch());
}

void SteadyClock::Sleep(std::chrono::nanoseconds duration) {
    std::this_thread::sleep_for(duration);
}

}  // namespace kelvane
