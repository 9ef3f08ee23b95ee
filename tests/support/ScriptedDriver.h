#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "gpib/DriverLoad.h"
#include "gpib/GpibCodes.h"
#include "gpib/GpibDriver.h"
#include "gpib/RegisteredStatus.h"
#include "tests/support/VirtualClock.h"

namespace kelvane::testing {

// One call that reached the driver.
struct DriverCall {
    std::string name;  // the driver entry
    std::vector<std::int32_t>
        args;           // integer arguments, in order (for ibwrt/ibrd: descriptor, count)
    std::string bytes;  // ibwrt: the bytes written; ibrd: the bytes delivered
    // "ibwrt(16, \"SI\", 2)", "ibrd(16, 50) -> \"1,2\"", "ibdev(0, 8, 0, 13, 1, 0)", ...
    std::string ToString() const;
};

// A driver that plays an analyzer from a script and records every call. Reads answer the most
// recently written text: each query has a queue of scripted reads, and optionally a standing
// answer once its queue is empty. A read with nothing scripted times out (no bytes, ERR and
// TIMO, error EABO) and, with a clock attached, takes the driver's 10 s.
class ScriptedDriver : public kelvane::GpibDriver {
public:
    struct Read {
        std::string bytes;
        std::int32_t status = kStatusEnd | kStatusCmpl;
        std::int32_t error = 0;
    };

    static constexpr std::int32_t kDescriptor = 16;

    // Reads answered, in order, after `query` is written (appends to its queue).
    void Reply(const std::string& query, const std::vector<std::string>& reads);
    void ReplyRead(const std::string& query, const Read& read);
    // Answer to every read after `query` once its queue is empty.
    void ReplyAlways(const std::string& query, const std::string& bytes);
    // Every write of `command` fails with ERR and the given error code.
    void FailWrite(const std::string& command, std::int32_t error = kErrorEnol);
    // ibdev fails: returns -1 with ERR and the given error code.
    void FailIbdev(std::int32_t error = kErrorEnol);
    void SetRegistrationResult(std::int32_t result) { SetRegistrationResults({result}); }
    // The results of the next registrations, in order; the last one stands for the rest.
    void SetRegistrationResults(std::vector<std::int32_t> results) {
        registrationResults_ = std::move(results);
        registrations_ = 0;
    }
    // Timed-out reads then advance this clock by 10 s.
    void AttachClock(kelvane::VirtualClock* clock) { clock_ = clock; }
    // Called after every recorded call, e.g. to click into the window during a wait.
    std::function<void(const DriverCall&)> onCall;

    std::vector<DriverCall> calls;
    std::vector<std::string> Transcript() const;
    // Only the texts written, in order.
    std::vector<std::string> Writes() const;

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
    struct QueryScript {
        std::vector<Read> queue;
        std::size_t next = 0;
        bool hasStanding = false;
        Read standing;
    };

    void SetStatus(std::int32_t status, std::int32_t error, std::int32_t count);
    void Record(DriverCall call);

    std::map<std::string, QueryScript> scripts_;
    std::map<std::string, std::int32_t> failingWrites_;
    std::string lastWritten_;
    bool ibdevFails_ = false;
    std::int32_t ibdevError_ = 0;
    std::vector<std::int32_t> registrationResults_{0};
    std::size_t registrations_ = 0;
    kelvane::VirtualClock* clock_ = nullptr;
    RegisteredStatus registered_;
};

// A DriverFactory that hands over the given driver at its first call.
DriverFactory HandOver(std::unique_ptr<GpibDriver> driver);

}  // namespace kelvane::testing
