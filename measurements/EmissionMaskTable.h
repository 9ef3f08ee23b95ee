#pragma once

#include "measurements/MeasurementRun.h"

namespace kelvane {

// The result table of the emission mask measurements: the column header, then one line per
// "SEM?" record. The analyzer answers one record per read, after "SEM?" was sent once.
// With withVerdict the line ends with the analyzer's pass/fail text (records of at least seven
// fields), otherwise after the relative level (records of at least six fields). Each line is in
// the log before the next record is read, its row recorded as "row_<n>"; a bad record stops the
// table.
void LogEmissionMaskTable(MeasurementRun& run, int recordCount, bool withVerdict);

}  // namespace kelvane
