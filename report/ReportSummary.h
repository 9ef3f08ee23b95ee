#pragma once

#include <string>
#include <vector>

#include "results/MeasurementRecord.h"

namespace kelvane {

// The verdict of a report as a whole: FAIL when a measurement failed its limits; else INCOMPLETE
// when one is incomplete, or a measurement that was to be made was not (`notMeasured`), or there
// is none; else PASS when one passed; else none (only values without a limit).
Verdict OverallVerdict(const std::vector<MeasurementRecord>& records,
                       const std::vector<std::string>& notMeasured);

// The summary of a report, as HTML: the overall verdict with the count of each verdict, a table
// of the measurements (caption linked to its section, verdict, worst margin, start and duration)
// and the failures and warnings, each with its line; and the measurements that were to be made
// and were not.
std::string SummaryHtml(const std::vector<MeasurementRecord>& records,
                        const std::vector<std::string>& notMeasured);

}  // namespace kelvane
