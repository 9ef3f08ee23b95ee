#pragma once

#include <cstdint>
#include <random>
#include <string>

namespace kelvane {

// Random UUIDs (version 4, RFC 4122) for runs and records: "xxxxxxxx-xxxx-4xxx-yxxx-xxxxxxxxxxxx"
// in lower case, y one of 8, 9, a, b. Seeded from the system's random device and the clock, so
// that two stations (or two runs on one) never draw the same ids.
class UuidSource {
public:
    UuidSource();
    std::string Next();

private:
    std::mt19937_64 engine_;
};

}  // namespace kelvane
