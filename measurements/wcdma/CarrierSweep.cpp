#include "measurements/wcdma/CarrierSweep.h"

#include "measurements/NumberForms.h"

namespace kelvane {

std::vector<std::string> CarrierSweepOpening(std::string_view span, double centerHz,
                                             double referenceLevelDbm,
                                             std::string_view bandwidths) {
    return {
        "SI",
        "SP " + std::string(span),
        "CF " + GeneralNumber(centerHz) + "HZ",
        "RL " + GeneralNumber(referenceLevelDbm) + "DB",
        std::string(bandwidths),
        "AS",
    };
}

std::vector<std::string> TenSweepsAveraged() { return {"AGSGL", "AG 10", "AGR", "CONTS"}; }

}  // namespace kelvane
