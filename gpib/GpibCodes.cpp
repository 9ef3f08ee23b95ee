#include "gpib/GpibCodes.h"

#include <array>
#include <utility>

namespace kelvane {

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
