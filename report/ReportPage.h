#pragma once

#include <string>
#include <vector>

#include "report/ReportFacts.h"
#include "results/MeasurementRecord.h"

namespace kelvane {

// A test report of these records (in the order they were made) as one self-contained HTML page:
// no script, nothing loaded from another file or address (its policy forbids both), the charts
// inline as SVG from chartSvg (without one, each charted measurement says that this build draws
// no charts). The head names the DUT, operator, station, run, Kelvane's version and the set-up;
// the summary gives every measurement's verdict and worst margin, its failures and warnings, and
// what was to be measured and was not; then one section per measurement (ReportSection.h).
// Every text from outside is escaped (HtmlEscape.h): nothing in a record can become markup.
std::string ReportHtml(const std::vector<MeasurementRecord>& records, const ReportFacts& facts,
                       const ChartSvgSource& chartSvg);

// The facts with what was not given taken from the records (ReportFacts).
ReportFacts FilledFacts(const std::vector<MeasurementRecord>& records, ReportFacts facts);

}  // namespace kelvane
