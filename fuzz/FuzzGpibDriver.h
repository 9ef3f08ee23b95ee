#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "bus/GpibDriver.h"
#include "bus/VirtualClock.h"
#include "fuzz/AnalyzerReplies.h"
#include "fuzz/DriverCall.h"
#include "fuzz/FuzzInput.h"

namespace kelvane::fuzz {

// A GPIB driver whose every outcome is read from the fuzz input: the registration result, the
// descriptor of ibdev or its failure, writes that are refused, and for each read a well-formed
// answer, raw bytes, a time-out with nothing or a time-out part way through an answer. Time-outs
// take the driver's 10 s on the virtual clock. Every call is appended to `calls`.
class FuzzGpibDriver : public GpibDriver {
public:
    FuzzGpibDriver(FuzzInput& input, VirtualClock& clock, std::vector<DriverCall>& calls)
        : input_(input), clock_(clock), calls_(calls), replies_(input) {}

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
    // What one read delivers, and the status word it ends with.
    struct ReadOutcome {
        std::string bytes;
        std::int32_t status;
        std::int32_t error;
    };

    ReadOutcome NextRead();
    // Sets the registered status variables and records the call.
    std::int32_t Finish(DriverCall call, std::int32_t status, std::int32_t error,
                        std::int32_t count);

    FuzzInput& input_;
    VirtualClock& clock_;
    std::vector<DriverCall>& calls_;
    AnalyzerReplies replies_;
    std::string lastWrite_;  // reads answer the last text written
    std::int32_t* status_ = nullptr;
    std::int32_t* error_ = nullptr;
    std::int32_t* count_ = nullptr;
    std::int32_t* countLong_ = nullptr;
};

}  // namespace kelvane::fuzz
