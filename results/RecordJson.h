#pragma once

#include <string>

#include "results/MeasurementRecord.h"

namespace kelvane {

// One record as a JSON object on one line, ending with "\n":
//   {"measurement", "title", "started" (UTC, "2026-12-09T14:19:50.123Z"), "duration_s", "bus",
//    "setup": {"center_hz", "reference_level_dbm", "board", "address", and when set
//    "path_loss_db" or "path_loss_table" (the table's file), "bs_power_dbm"}, "outcome"
//    ("completed", "warning", "failed", "interrupted"), "message", "verdict", "worst_margin"
//    (null without a limit), "margin_unit" ("dB" or "Hz", null without a limit), for a mask
//    "limit_set" ("mask_sent" or "bs_power_dbm"), "kelvane", "dut", "operator", "station",
//    "run_id", "record_id", "log", "values": [{"name", "value" (an absolute level at the DUT),
//    "unit", behind a path loss for an absolute level "analyzer_value" (as answered), with a
//    limit "limit", "margin", "verdict" ("pass" or "fail"; a WLAN row has a verdict also without
//    a limit); a mask row also "start_hz", "stop_hz", "frequency_hz", "relative_db", and for WLAN
//    "analyzer_verdict" ("PASS" or "FAIL")}]}
// Numbers are written in the shortest form that reads back as the same double (a number that is
// not finite as null). Text is UTF-8 with control characters escaped; bytes that are not UTF-8
// are replaced by U+FFFD.
std::string RecordJsonLine(const MeasurementRecord& record);

}  // namespace kelvane
