#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kelvane::fuzz {

// One call that reached the fuzz-driven driver, as the run's checks need it.
struct DriverCall {
    enum class Entry { Register, Unregister, Ibdev, Ibonl, Ibwrt, Ibrd };

    Entry entry = Entry::Register;
    std::vector<std::int32_t> args;  // integer arguments in order (ibwrt, ibrd: descriptor, count)
    std::int32_t result = 0;         // what the driver returned
    std::string text;                // ibwrt: the bytes sent; ibrd: the whole buffer afterwards
    bool failed = false;             // ERR was set in the status word

    bool IsRegistration() const { return entry == Entry::Register || entry == Entry::Unregister; }
};

}  // namespace kelvane::fuzz
