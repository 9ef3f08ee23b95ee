#pragma once

#include "simulator/commands/CommandTable.h"

namespace kelvane {

// The result queries. Each answers from the current sweep (waiting for it when it is not done
// yet) and only while its measurement function is on; otherwise it flags an execution error and
// answers nothing. Frequencies are in whole Hz, levels in dBm or dB with two decimals.
//
// "ML?"      marker level in dBm: "-27.31".
// "SEM?"     one read per segment and side, lower side from the outermost segment in, then the
//            upper side outwards. Fields: segment number (negative on the lower side), start Hz,
//            stop Hz, frequency of the segment's peak Hz, its level dBm, that level against the
//            mask reference dB, PASS or FAIL: "-4,1992000000,1996000000,1995500000,-69.52,
//            -59.27,PASS" (one line on the bus).
// "OBW?"     center Hz, occupied bandwidth Hz: "2000000396,4167635".
// "ACP?"     first the carrier, "0,<carrier dBm>", then one read per adjacent channel pair,
//            "-offset Hz,lower dB,+offset Hz,upper dB" relative to the carrier:
//            "-5000000,-54.78,5000000,-54.77".
// "ACPREF?"  carrier power in dBm.
// "PWCH?"    channel power in dBm; "PWTOTAL?" the power of the whole span in dBm.
class ResultQueries {
public:
    static void Register(CommandTable& table);
};

}  // namespace kelvane
