#include "fuzz/MeasurementRules.h"

#include "fuzz/Require.h"

namespace kelvane::fuzz {

namespace {

const char* const kWcdmaCenter = "CF 2000000000HZ";
const char* const kReferenceZero = "RL 0DB";

std::vector<std::string> Joined(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// The measurement-end wait: status clearing, operation selection and status polling.
std::vector<std::string> WaitCommands(const char* operationSelect) {
    return {"*CLS", operationSelect, "*SRE 160", "*STB?", "*ESR?"};
}

const std::vector<std::string> kAveraging = {"AGSGL", "AG 10", "AGR", "AGS"};

MeasurementRules ChannelPowerRules() {
    return {"CH Power Measurement...",
            Joined({"SI", "SP 10e6HZ", kWcdmaCenter, kReferenceZero, "RB 300e3HZ VB 300e3HZ", "AS",
                    "DETAA ON", "WLX 2000000000HZ", "WDX 3840000HZ", "PWCHON", "PMEASAVGONCE ONCE",
                    "PWCHTM 10", "PMEASAVG ON", "CONTS", "PWCH?", "PMEASOFF", "PMEASAVGOFF"},
                   WaitCommands("OPR 16")),
            {},
            false,
            {"ChPower = @dBm"},
            false};
}

MeasurementRules OccupiedBandwidthRules() {
    return {"OBW Measurement...",
            Joined(Joined({"SI", "SP 10e6HZ", kWcdmaCenter, kReferenceZero, "RB 30e3HZ; VB 30e3HZ",
                           "AS", "DET POS", "OBWPER 99", "OBWON", "CONTS", "OBW?", "OBWON OFF"},
                          kAveraging),
                   WaitCommands("OPR 256")),
            {},
            false,
            {"OBW = %MHz", "OBW CF = %MHz"},
            false};
}

MeasurementRules AdjacentChannelPowerRules() {
    return {"ACP Measurement...",
            Joined(Joined({"SI", "SP 25e6HZ", kWcdmaCenter, kReferenceZero, "RB 30e3HZ; VB 30e3HZ",
                           "AS", "ACPSCR CARR", "CARRBS 3.84MZ", "CSBSDEL", "CSBSIN 5MZ,3.84MZ",
                           "CSBSIN 10MZ,3.84MZ", "DETAA ON", "ACP", "CONTS", "ACP?", "MO",
                           "ACPREF?", "ACP OFF"},
                          kAveraging),
                   WaitCommands("OPR 256")),
            {},
            false,
            {"ACP ( -5M, +5M) = @MHz @dB : @MHz @dB", "ACP (-10M,+10M) = @MHz @dB : @MHz @dB",
             "ACP (Carr pow.) = @dBm"},
            false};
}

MeasurementRules WcdmaMaskRules() {
    return {"SEM Measurement...",
            {"SI", kWcdmaCenter, kReferenceZero, "AL", "DETAA ON", "SP 20MZ", "SEMCBW 3.84MZ",
             "SEMRFCALC CHN", "SEMNQST OFF", "SEMTDEL",
             "SEMTIN 2.515MZ,2.715MZ, 30KZ, -14DB, -14DB, 0DB, 0DB,ABS",
             "SEMTIN 2.715MZ,3.515MZ, 30KZ, -14DB, -26DB, 0DB, 0DB,ABS",
             "SEMTIN 3.515MZ,4.0MZ, 30KZ, -26DB, -26DB, 0DB, 0DB,ABS",
             "SEMTIN 4.0MZ,8.0MZ, 1MZ, -13DB, -13DB, 0DB, 0DB,ABS", "SEMON", "TS", "SEM?",
             "SEMON OFF", "CONTS"},
            {},
            true,
            std::vector<std::string>(8, "@MHz---@MHz, @MHz, @dBm, @dB"),
            false};
}

// The WLAN masks rest on the measured peak: their segment levels are computed.
MeasurementRules WlanMaskRules(const char* center, const char* sweep, const char* calculation,
                               const std::vector<std::string>& segmentPrefixes) {
    MeasurementRules rules{"SEM Measurement...",
                           {"SI", center, "SP 80MZ", kReferenceZero, sweep, "DET POS", "TS", "PS",
                            "ML?", "SEMTDEL", "SEMCBW 16.6MZ", calculation, "SEMNQST OFF",
                            "PMEASAVG OFF", "SEMON", "SEM?", "SEMON OFF", "CONTS"},
                           {},
                           true,
                           std::vector<std::string>(segmentPrefixes.size() * 2,
                                                    "@MHz---@MHz, @MHz, @dBm, @dB,  P/F = "),
                           true};
    for (const auto& prefix : segmentPrefixes)
        rules.commandShapes.push_back(prefix + "$DB,$DB,0DB, 0DB, ABS");
    return rules;
}

MeasurementRules TotalPowerRules() {
    return {"CH Power Measurement...",
            {"SI", "SP 40MZ", "CF 2412000000HZ", kReferenceZero, "RB 300KZ; VB 300KZ", "SW 1SC",
             "DETAA ON", "PWTOTALON", "TS", "PWTOTAL?", "PMEASOFF", "PMEASAVGOFF", "CONTS"},
            {},
            false,
            {"ChPower = @dBm"},
            false};
}

}  // namespace

MeasurementRules RulesFor(std::string_view catalogName) {
    if (catalogName == "ch-power") return ChannelPowerRules();
    if (catalogName == "obw") return OccupiedBandwidthRules();
    if (catalogName == "acp") return AdjacentChannelPowerRules();
    if (catalogName == "sem") return WcdmaMaskRules();
    if (catalogName == "sem-11a") {
        return WlanMaskRules(
            "CF 5005000000HZ", "RB 100KZ; VB 30KZ; SW 500MS", "SEMRFCALC PEAK",
            {"SEMTIN  0MZ,  9MZ, 100KZ,", "SEMTIN  9MZ, 11MZ, 100KZ,", "SEMTIN 11MZ, 20MZ, 100KZ,",
             "SEMTIN 20MZ, 30MZ, 100KZ,", "SEMTIN 30MZ, 39MZ, 100KZ,"});
    }
    if (catalogName == "sem-11b") {
        return WlanMaskRules("CF 2412000000HZ", "RB 100KZ; VB 100KZ; SW 1SC", "SEMRPFCALC PEAK",
                             {"SEMTIN  0MZ, 11MZ, 100KZ,", "SEMTIN 11MZ, 22MZ, 100KZ,",
                              "SEMTIN 22MZ, 39MZ, 100KZ,"});
    }
    if (catalogName == "total-power-11b") return TotalPowerRules();
    Require(false, "rules for the measurement \"" + std::string(catalogName) + "\"");
    return {};
}

}  // namespace kelvane::fuzz
