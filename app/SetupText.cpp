#include "app/SetupText.h"

#include <vector>

#include "measurements/NumberForms.h"

namespace kelvane {

namespace {

// Each part of the set-up in words, with whether it differs from the default.
std::vector<std::pair<std::string, bool>> Parts(const MeasurementSetup& setup) {
    const MeasurementSetup standard;
    return {
        {"W-CDMA " + MegahertzText(setup.wcdmaCenterHz) + " MHz",
         setup.wcdmaCenterHz != standard.wcdmaCenterHz},
        {"802.11a " + MegahertzText(setup.wlan11aCenterHz) + " MHz",
         setup.wlan11aCenterHz != standard.wlan11aCenterHz},
        {"802.11b " + MegahertzText(setup.wlan11bCenterHz) + " MHz",
         setup.wlan11bCenterHz != standard.wlan11bCenterHz},
        {"reference level " + GeneralNumber(setup.referenceLevelDbm) + " dB",
         setup.referenceLevelDbm != standard.referenceLevelDbm},
        {"GPIB board " + std::to_string(setup.address.board),
         setup.address.board != standard.address.board},
        {"address " + std::to_string(setup.address.primaryAddress),
         setup.address.primaryAddress != standard.address.primaryAddress},
    };
}

std::string Joined(const std::vector<std::pair<std::string, bool>>& parts, bool changesOnly) {
    std::string text;
    for (const auto& [words, changed] : parts) {
        if (changesOnly && !changed) continue;
        text += (text.empty() ? "" : ", ") + words;
    }
    return text;
}

}  // namespace

std::string MegahertzText(double hz) { return GeneralNumber(hz / 1e6); }

std::string SetupDescription(const MeasurementSetup& setup) { return Joined(Parts(setup), false); }

std::string SetupChanges(const MeasurementSetup& setup) { return Joined(Parts(setup), true); }

}  // namespace kelvane
