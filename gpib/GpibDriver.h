#pragma once

#include <cstdint>
#include <string>

namespace kelvane {

// The six entries of a GPIB driver library that Kelvane calls, with their 32-bit arguments.
// Implementations: the system driver loaded at run time, the simulated analyzer and the
// scripted drivers of the tests.
//
// A driver keeps the four status variables handed to RegisterGpibGlobalsForThread current
// during each of its later calls: status word (ibsta), error code (iberr), byte count (ibcnt)
// and long byte count (ibcntl).
class GpibDriver {
public:
    virtual ~GpibDriver() = default;

    virtual std::int32_t ibdev(std::int32_t boardIndex, std::int32_t primaryAddress,
                               std::int32_t secondaryAddress, std::int32_t timeoutCode,
                               std::int32_t eoiMode, std::int32_t eosMode) = 0;
    virtual std::int32_t ibonl(std::int32_t descriptor, std::int32_t value) = 0;
    // Sends count bytes.
    virtual std::int32_t ibwrt(std::int32_t descriptor, const char* bytes, std::int32_t count) = 0;
    // Receives at most count bytes into the start of buffer; the rest of it is left untouched.
    virtual std::int32_t ibrd(std::int32_t descriptor, char* buffer, std::int32_t count) = 0;
    // Returns 0 on success, 1 when the thread was registered already, 2 when the operating system
    // is not multi-threaded, 3 when registration failed; other values are unknown errors.
    virtual std::int32_t RegisterGpibGlobalsForThread(std::int32_t* status, std::int32_t* error,
                                                      std::int32_t* count,
                                                      std::int32_t* countLong) = 0;
    virtual std::int32_t UnregisterGpibGlobalsForThread() = 0;

    // Not a library entry: the system's reason for the driver's last failed call, where the
    // driver knows more than its error code ("connection refused by 192.0.2.7:1234"); empty
    // otherwise.
    virtual std::string FailureDetail() const { return {}; }
};

}  // namespace kelvane
