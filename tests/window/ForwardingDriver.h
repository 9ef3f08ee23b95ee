#pragma once

#include <memory>

#include "bus/DriverLoad.h"
#include "bus/GpibDriver.h"

namespace kelvane::testing {

// Hands every call on to a driver that the test owns, so that the test can script it and read
// its transcript while the binding owns this forwarder.
class ForwardingDriver : public GpibDriver {
public:
    explicit ForwardingDriver(GpibDriver& target) : target_(target) {}

    // A DriverFactory that brings up a forwarder to `target`.
    static DriverFactory FactoryFor(GpibDriver& target) {
        return [&target] { return DriverLoad{std::make_unique<ForwardingDriver>(target), {}}; };
    }

    std::int32_t ibdev(std::int32_t boardIndex, std::int32_t primaryAddress,
                       std::int32_t secondaryAddress, std::int32_t timeoutCode,
                       std::int32_t eoiMode, std::int32_t eosMode) override {
        return target_.ibdev(boardIndex, primaryAddress, secondaryAddress, timeoutCode, eoiMode,
                             eosMode);
    }
    std::int32_t ibonl(std::int32_t descriptor, std::int32_t value) override {
        return target_.ibonl(descriptor, value);
    }
    std::int32_t ibwrt(std::int32_t descriptor, const char* bytes, std::int32_t count) override {
        return target_.ibwrt(descriptor, bytes, count);
    }
    std::int32_t ibrd(std::int32_t descriptor, char* buffer, std::int32_t count) override {
        return target_.ibrd(descriptor, buffer, count);
    }
    std::int32_t RegisterGpibGlobalsForThread(std::int32_t* status, std::int32_t* error,
                                              std::int32_t* count,
                                              std::int32_t* countLong) override {
        return target_.RegisterGpibGlobalsForThread(status, error, count, countLong);
    }
    std::int32_t UnregisterGpibGlobalsForThread() override {
        return target_.UnregisterGpibGlobalsForThread();
    }

private:
    GpibDriver& target_;
};

}  // namespace kelvane::testing
