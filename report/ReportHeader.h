#pragma once

#include <chrono>
#include <string>

#include "measurements/MeasurementSetup.h"
#include "report/ReportFacts.h"

namespace kelvane {

// The head of a report, as HTML: whose DUT it is, who tested it where and when, with which
// Kelvane, and the bench's set-up (analyzer and bus, carriers, reference level, path loss,
// limits). `facts` has its origin, set-up, start and end filled in (ReportPage does); runId is
// the run's id, empty when unknown.
std::string ReportHeaderHtml(const ReportFacts& facts, const std::string& runId);

// The carriers in words: "W-CDMA 2000 MHz, 802.11a 5005 MHz, 802.11b 2412 MHz".
std::string CarriersText(const MeasurementSetup& setup);
// The path loss in words, as HTML (a table's file name escaped): "none (levels as the analyzer
// saw them)", "30 dB, levels at the DUT", "table loss.csv, read linearly; levels at the DUT".
std::string PathLossHtml(const MeasurementSetup& setup);
// The limits the measurements are judged against, with the emission mask's: the mask sent, or
// the one for the base station's rated power.
std::string LimitSetText(const MeasurementSetup& setup);
// Where the analyzer was reached, as HTML: "GPIB board 0, address 8", "simulated analyzer
// (board 0, address 8)", "lan:192.0.2.7:1234, GPIB address 8".
std::string AnalyzerHtml(const std::string& bus, const MeasurementSetup& setup);

}  // namespace kelvane
