#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "gpib/GpibDriver.h"

namespace kelvane {

// A driver that passes every call, and the inner driver's FailureDetail, on to another driver
// unchanged. Drivers that watch or hold up the calls of another derive from it and override only
// the entries they watch, calling the base to pass the call on.
class ForwardingDriver : public GpibDriver {
public:
    explicit ForwardingDriver(std::unique_ptr<GpibDriver> inner) : inner_(std::move(inner)) {}

    std::int32_t ibdev(std::int32_t boardIndex, std::int32_t primaryAddress,
                       std::int32_t secondaryAddress, std::int32_t timeoutCode,
                       std::int32_t eoiMode, std::int32_t eosMode) override {
        return inner_->ibdev(boardIndex, primaryAddress, secondaryAddress, timeoutCode, eoiMode,
                             eosMode);
    }
    std::int32_t ibonl(std::int32_t descriptor, std::int32_t value) override {
        return inner_->ibonl(descriptor, value);
    }
    std::int32_t ibwrt(std::int32_t descriptor, const char* bytes, std::int32_t count) override {
        return inner_->ibwrt(descriptor, bytes, count);
    }
    std::int32_t ibrd(std::int32_t descriptor, char* buffer, std::int32_t count) override {
        return inner_->ibrd(descriptor, buffer, count);
    }
    std::int32_t RegisterGpibGlobalsForThread(std::int32_t* status, std::int32_t* error,
                                              std::int32_t* count,
                                              std::int32_t* countLong) override {
        return inner_->RegisterGpibGlobalsForThread(status, error, count, countLong);
    }
    std::int32_t UnregisterGpibGlobalsForThread() override {
        return inner_->UnregisterGpibGlobalsForThread();
    }
    std::string FailureDetail() const override { return inner_->FailureDetail(); }

private:
    std::unique_ptr<GpibDriver> inner_;
};

}  // namespace kelvane
