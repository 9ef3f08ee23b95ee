#pragma once

#include <string>

#include "results/MeasurementRecord.h"

namespace kelvane {

// A record's values as an HTML table, one row per value in the order logged: its name, the value
// judged (a level at the DUT behind a path loss) with its unit, limit, margin and verdict. Mask
// rows add their START, STOP and FREQ (MHz); where a path loss applies, the analyzer's own value
// stands beside the one judged. A failing value's row is marked (class "fail") besides its
// verdict. A record without values gets a line that says so.
std::string ValuesTableHtml(const MeasurementRecord& record);

}  // namespace kelvane
