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

std::int32_t LatchedDriver::ibdev(std::int32_t boardIndex, std::int32_t primaryAddress,
                                  std::int32_t secondaryAddress, std::int32_t timeoutCode,
                                  std::int32_t eoiMode, std::int32_t eosMode) {
    return driver_->ibdev(boardIndex, primaryAddress, secondaryAddress, timeoutCode, eoiMode,
                          eosMode);
}

std::int32_t LatchedDriver::ibonl(std::int32_t descriptor, std::int32_t value) {
    return driver_->ibonl(descriptor, value);
}

std::int32_t LatchedDriver::ibwrt(std::int32_t descriptor, const char* bytes, std::int32_t count) {
    lastWritten_.assign(bytes, bytes + (count > 0 ? count : 0));
    return driver_->ibwrt(descriptor, bytes, count);
}

std::int32_t LatchedDriver::ibrd(std::int32_t descriptor, char* buffer, std::int32_t count) {
    if (lastWritten_ == query_) {
        std::unique_lock lock(mutex_);
        held_ = true;
        changed_.notify_all();
        changed_.wait(lock, [this] { return open_; });
        held_ = false;
    }
    return driver_->ibrd(descriptor, buffer, count);
}

std::int32_t LatchedDriver::RegisterGpibGlobalsForThread(std::int32_t* status, std::int32_t* error,
                                                         std::int32_t* count,
                                                         std::int32_t* countLong) {
    return driver_->RegisterGpibGlobalsForThread(status, error, count, countLong);
}

std::int32_t LatchedDriver::UnregisterGpibGlobalsForThread() {
    return driver_->UnregisterGpibGlobalsForThread();
}

}  // namespace kelvane::testing
