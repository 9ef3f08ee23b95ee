#pragma once

#include <cstddef>
#include <string>

#include "report/ReportFacts.h"
#include "results/MeasurementRecord.h"

namespace kelvane {

// One measurement's part of a report, as an HTML <section id="m<number>"> that a printer keeps on
// one page where it fits: its caption and verdict, when it ran and for how long, its failure or
// warning line, what of its origin and set-up differs from the report's head (`facts`, filled
// in), its values table, its chart (through chartSvg; a note where this build draws none or it
// could not be drawn) and its log text.
std::string MeasurementSectionHtml(std::size_t number, const MeasurementRecord& record,
                                   const ReportFacts& facts, const ChartSvgSource& chartSvg);

// The measurement as the window's button names it ("S.E.M.", "ACP"), or its batch name where the
// catalog has none; as HTML.
std::string MeasurementCaptionHtml(const MeasurementRecord& record);

// "0.70 s", "12.3 s".
std::string DurationText(double seconds);

}  // namespace kelvane
