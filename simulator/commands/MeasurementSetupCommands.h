#pragma once

#include "simulator/commands/CommandTable.h"

namespace kelvane {

// Set-up and switches of the measurement functions: the emission mask ("SEMCBW", "SEMRFCALC"
// and its spelling "SEMRPFCALC", "SEMNQST", "SEMTDEL", "SEMTIN", "SEMON"), occupied bandwidth
// ("OBWPER", "OBWON"), adjacent channel power ("ACPSCR", "CARRBS", "CSBSDEL", "CSBSIN", "ACP")
// and the power functions ("WLX", "WDX", "PWCHON", "PWTOTALON", "PMEASAVGONCE", "PWCHTM",
// "PMEASAVG", "PMEASAVGOFF", "PMEASOFF").
class MeasurementSetupCommands {
public:
    static void Register(CommandTable& table);
};

}  // namespace kelvane
