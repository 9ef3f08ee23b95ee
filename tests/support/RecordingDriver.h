#pragma once

#include <functional>
#include <memory>
#include <string>

#include "gpib/ForwardingDriver.h"
#include "tests/support/ScriptedDriver.h"

namespace kelvane::testing {

// Passes every call on to another driver and tells each one, as the scripted driver records
// its own calls: a read with the bytes it delivered. Puts any driver under the run fixtures'
// transcripts.
class RecordingDriver : public ForwardingDriver {
public:
    RecordingDriver(std::unique_ptr<GpibDriver> inner,
                    std::function<void(const DriverCall&)> onCall);

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
    std::function<void(const DriverCall&)> onCall_;
    std::int32_t* countLong_ = nullptr;
};

}  // namespace kelvane::testing
