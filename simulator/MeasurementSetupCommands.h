#pragma once

#include <optional>
#include <string_view>

#include "simulator/CommandTable.h"
#include "simulator/InstrumentState.h"

namespace kelvane {

// Set-up and switches of the measurement functions: the emission mask ("SEMCBW", "SEMRFCALC"
// and its spelling "SEMRPFCALC", "SEMNQST", "SEMTDEL", "SEMTIN", "SEMON"), occupied bandwidth
// ("OBWPER", "OBWON"), adjacent channel power ("ACPSCR", "CARRBS", "CSBSDEL", "CSBSIN", "ACP")
// and the power functions ("WLX", "WDX", "PWCHON", "PWTOTALON", "PMEASAVGONCE", "PWCHTM",
// "PMEASAVG", "PMEASAVGOFF", "PMEASOFF").
class MeasurementSetupCommands {
public:
    static void Register(CommandTable& table);

    // A "SEMTIN" row: start offset, stop offset, RBW, level at start, level at stop, two further
    // levels and ABS or REL, comma-separated, blanks allowed around each field
    // ("2.515MZ,2.715MZ, 30KZ, -14DB, -14DB, 0DB, 0DB,ABS"). No value when malformed.
    static std::optional<MaskSegment> ParseMaskSegment(std::string_view text);
    // A "CSBSIN" row: offset, bandwidth ("5MZ,3.84MZ").
    static std::optional<AdjacentChannel> ParseAdjacentChannel(std::string_view text);
};

}  // namespace kelvane
