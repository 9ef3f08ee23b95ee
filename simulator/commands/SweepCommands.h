#pragma once

#include "simulator/commands/CommandTable.h"

namespace kelvane {

// Preset, frequency, span, level, bandwidths, sweep time, detector, sweeping, averaging and
// the marker: "SI", "CF", "SP", "RL", "RB", "VB", "SW", "AS", "AL", "DET", "DETAA", "TS",
// "CONTS", "AGSGL", "AG", "AGR", "AGS", "PS", "MO".
class SweepCommands {
public:
    static void Register(CommandTable& table);
};

}  // namespace kelvane
