#pragma once

#include "simulator/commands/CommandTable.h"

namespace kelvane {

// The IEEE 488.2 common commands ("*CLS", "*SRE", "*SRE?", "*ESE", "*ESE?", "*STB?", "*ESR?",
// "*IDN?") and "OPR n", which selects the operation events that set bit 7 of the status byte:
// 16 the end of channel power averaging, 256 the end of sweep averaging.
class StatusCommands {
public:
    static void Register(CommandTable& table);
};

}  // namespace kelvane
