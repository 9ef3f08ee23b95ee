#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kelvane {

// One call of a driver entry as it went: its arguments and what it gave back.
struct GpibCall {
    // The status variables registered with the driver, as the call left them.
    struct Status {
        std::int32_t status = 0;     // ibsta
        std::int32_t error = 0;      // iberr
        std::int32_t countLong = 0;  // ibcntl
    };

    std::string entry;                    // "ibdev", "ibonl", "ibwrt", "ibrd", or a registration
    std::vector<std::int32_t> arguments;  // the integer arguments in order; ibwrt, ibrd:
                                          // descriptor and byte count
    std::string bytes;                    // ibwrt: the bytes sent; ibrd: the bytes delivered
    std::int32_t result = 0;              // what the entry returned
    std::optional<Status> status;         // while status variables are registered
};

}  // namespace kelvane
