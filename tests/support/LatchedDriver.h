#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "gpib/GpibDriver.h"

namespace kelvane::testing {

// Passes every call on to another driver, except that a read after `query` was written waits
// until the latch is opened: a bus call that blocks, as a real driver's does for up to 10 s.
class LatchedDriver : public GpibDriver {
public:
    LatchedDriver(std::unique_ptr<GpibDriver> driver, std::string query)
        : driver_(std::move(driver)), query_(std::move(query)) {}

    // Any thread. Lets the held read (and every later one) go on.
    void Open();
    // Any thread. Waits until a read is held at the latch, at most `timeout`; returns whether
    // one is. Everything the driver did before it happens before the return.
    bool WaitUntilHeld(std::chrono::milliseconds timeout);
    bool Held();

    std::int32_t ibdev(std::int32_t boardIndex, std::int32_t primaryAddress,
                       std::int32_t secondaryAddress, std::int32_t timeoutCode,
                       std::int32_t eoiMode, std::int32_t eosMode) override;
    std::int32_t ibonl(std::int32_t descriptor, std::int32_t value) override;
    std::int32_t ibwrt(std::int32_t descriptor, const char* bytes, std::int32_t count) override;
    std::int32_t ibrd(std::int32_t descriptor, char* buffer, std::int32_t count) override;
    std::int32_t RegisterGpibGlobalsForThread(std::int32_t* status, std::int32_t* error,
                                              std::int32_t* count,
                                              std::int32_t* countLong) override;
    std::int32_t UnregisterGpibGlobalsForThread() override;
    std::string FailureDetail() const override { return driver_->FailureDetail(); }

private:
    std::unique_ptr<GpibDriver> driver_;
    std::string query_;
    std::string lastWritten_;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool open_ = false;
    bool held_ = false;
};

}  // namespace kelvane::testing
