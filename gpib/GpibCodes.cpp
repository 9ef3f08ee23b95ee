#include "gpib/GpibCodes.h"

#include <array>
#include <utility>

namespace kelvane {

std::optional<std::chrono::nanoseconds> GpibTimeout(std::int32_t timeoutCode) {
    // A 1-3-10 series from 10 us; code 0, none, as the longest.
    static constexpr std::array<long long, 18> kMicroseconds{
        1000000000, 10,     30,      100,     300,      1000,     3000,      10000,     30000,
        100000,     300000, 1000000, 3000000, 10000000, 30000000, 100000000, 300000000, 1000000000};
    if (timeoutCode < 0 || timeoutCode >= static_cast<std::int32_t>(kMicroseconds.size()))
        return std::nullopt;
    return std::chrono::microseconds(kMicroseconds[static_cast<std::size_t>(timeoutCode)]);
}

std::string GpibErrorName(std::int32_t errorCode) {
    static constexpr std::array<std::pair<std::int32_t, const char*>, 19> kNames{{
        {0, "EDVR"},  {1, "ECIC"},  {2, "ENOL"},  {3, "EADR"},  {4, "EARG"},
        {5, "ESAC"},  {6, "EABO"},  {7, "ENEB"},  {8, "EDMA"},  {10, "EOIP"},
        {11, "ECAP"}, {12, "EFSO"}, {14, "EBUS"}, {15, "ESTB"}, {16, "ESRQ"},
        {20, "ETAB"}, {21, "ELCK"}, {22, "EARM"}, {23, "EHDL"},
    }};
    for (const auto& [code, name] : kNames)
        if (code == errorCode) return std::string(name) + " (" + std::to_string(code) + ")";
    return "error " + std::to_string(errorCode);
}

}  // namespace kelvane
