#pragma once

#include <cstdint>
#include <memory>

#include "gpib/ForwardingDriver.h"
#include "gpib/GpibCall.h"

namespace kelvane {

// A driver that passes every call on to another one and then reports it, with its arguments,
// the bytes it moved and how it ended, for whoever keeps a record of the bus: the bus trace,
// the tests' recorders.
class ReportingDriver : public ForwardingDriver {
public:
    explicit ReportingDriver(std::unique_ptr<GpibDriver> inner);

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

protected:
    // Each call once it has returned, on the thread that made it.
    virtual void Called(const GpibCall& call) = 0;

private:
    std::int32_t Report(GpibCall call);

    std::int32_t* status_ = nullptr;
    std::int32_t* error_ = nullptr;
    std::int32_t* countLong_ = nullptr;
};

}  // namespace kelvane
