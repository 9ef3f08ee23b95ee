#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "gpib/ForwardingDriver.h"

namespace kelvane::testing {

// Passes every call on to another driver, except that a read after `query` was written waits
// until the latch is opened: a bus call that blocks, as a real driver's does for up to 10 s.
class LatchedDriver : public ForwardingDriver {
public:
    LatchedDriver(std::unique_ptr<GpibDriver> driver, std::string query)
        : ForwardingDriver(std::move(driver)), query_(std::move(query)) {}

    // Any thread. Lets the held read (and every later one) go on.
    void Open();
    // Any thread. Waits until a read is held at the latch, at most `timeout`; returns whether
    // one is. Everything the driver did before it happens before the return.
    bool WaitUntilHeld(std::chrono::milliseconds timeout);
    bool Held();

    std::int32_t ibwrt(std::int32_t descriptor, const char* bytes, std::int32_t count) override;
    std::int32_t ibrd(std::int32_t descriptor, char* buffer, std::int32_t count) override;

private:
    std::string query_;
    std::string lastWritten_;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool open_ = false;
    bool held_ = false;
};

}  // namespace kelvane::testing
