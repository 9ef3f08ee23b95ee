#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "gpib/ForwardingDriver.h"
#include "gpib/TraceLog.h"

namespace kelvane {

// A driver that passes every call on to another one and writes it to the bus trace, one line
// each: the call and its arguments (data as escaped text), then what it returned: the status
// word with its bits named, the error code when ERR is set, the byte count, and for a read the
// bytes that arrived. Works over every driver, the simulated analyzer included.
class TracingDriver : public ForwardingDriver {
public:
    // `log` must outlive the driver.
    TracingDriver(std::unique_ptr<GpibDriver> inner, TraceLog& log);

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

private:
    // " -> ibsta 0x2100 (END CMPL)  iberr 0  ibcnt 9", or the return value while no status
    // variables are registered.
    std::string Outcome(std::int32_t result) const;

    TraceLog& log_;
    std::int32_t* status_ = nullptr;
    std::int32_t* error_ = nullptr;
    std::int32_t* countLong_ = nullptr;
};

}  // namespace kelvane
