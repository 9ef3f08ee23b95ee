#include "app/SetupText.h"

#include <vector>

#include "app/SetupOptions.h"
#include "measurements/NumberForms.h"

namespace kelvane {

namespace {

// A file's name without its folders, as the caption has room for it.
std::string FileName(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    return SetupOptions::Shown(slash == std::string::npos ? path : path.substr(slash + 1));
}

// Each part of the set-up in words, with whether it differs from the default. The path loss and
// the base station power are parts only when the set-up has them.
std::vector<std::pair<std::string, bool>> Parts(const MeasurementSetup& setup) {
    const MeasurementSetup standard;
    std::vector<std::pair<std::string, bool>> parts{
        {"W-CDMA " + MegahertzText(setup.wcdmaCenterHz) + " MHz",
         setup.wcdmaCenterHz != standard.wcdmaCenterHz},
        {"802.11a " + MegahertzText(setup.wlan11aCenterHz) + " MHz",
         setup.wlan11aCenterHz != standard.wlan11aCenterHz},
        {"802.11b " + MegahertzText(setup.wlan11bCenterHz) + " MHz",
         setup.wlan11bCenterHz != standard.wlan11bCenterHz},
        {"reference level " + GeneralNumber(setup.referenceLevelDbm) + " dBm",
         setup.referenceLevelDbm != standard.referenceLevelDbm},
    };
    const PathLoss& loss = setup.pathLoss;
    if (!loss.IsNone()) {
        parts.emplace_back("levels at the DUT, path loss " +
                               (loss.IsTable() ? "table " + FileName(loss.File())
                                               : GeneralNumber(loss.FixedDb()) + " dB"),
                           true);
    }
    if (setup.bsPowerDbm) {
        parts.emplace_back("base station " + GeneralNumber(*setup.bsPowerDbm) + " dBm", true);
    }
    parts.emplace_back("GPIB board " + std::to_string(setup.address.board),
                       setup.address.board != standard.address.board);
    parts.emplace_back("address " + std::to_string(setup.address.primaryAddress),
                       setup.address.primaryAddress != standard.address.primaryAddress);
    return parts;
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
