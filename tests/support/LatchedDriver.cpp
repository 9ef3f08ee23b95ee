#include "tests/support/LatchedDriver.h"

namespace kelvane::testing {

void LatchedDriver::Open() {
    {
        const std::lock_guard lock(mutex_);
        open_ = true;
    }
    changed_.notify_all();
}

bool LatchedDriver::WaitUntilHeld(std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [this] { return held_; });
}

bool LatchedDriver::Held() {
    const std::lock_guard lock(mutex_);
    return held_;
}

std::int32_t LatchedDriver::ibwrt(std::int32_t descriptor, const char* bytes, std::int32_t count) {
    lastWritten_.assign(bytes, bytes + (count > 0 ? count : 0));
    return ForwardingDriver::ibwrt(descriptor, bytes, count);
}

std::int32_t LatchedDriver::ibrd(std::int32_t descriptor, char* buffer, std::int32_t count) {
    if (lastWritten_ == query_) {
        std::unique_lock lock(mutex_);
        held_ = true;
        changed_.notify_all();
        changed_.wait(lock, [this] { return open_; });
        held_ = false;
    }
    return ForwardingDriver::ibrd(descriptor, buffer, count);
}

}  // namespace kelvane::testing
