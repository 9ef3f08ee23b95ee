#pragma once

#include <string>
#include <vector>

#include "results/MeasurementRecord.h"

namespace kelvane {

// The summary of a measurement run N times (--repeat), for the log, CR LF line ends: a blank
// line, a heading with how the runs went, then one line per value that had a number in a run
// that logged its results: its minimum, mean, maximum and sample standard deviation (n - 1; 0
// for a single run), with its unit, and how many runs it is taken over. For example
//
//   Summary of 3 runs of acp (ACP Measurement...): 3 pass, 0 fail, 0 incomplete
//     acp_lower_5mhz: min -54.80 dB, mean -54.77 dB, max -54.74 dB, std dev 0.03 dB (3 runs)
//
// The heading counts the runs' verdicts ("P pass, F fail, I incomplete", and ", N without a
// limited value" when there are such runs) when any run had a value with a limit; otherwise, for
// channel and total power, their outcomes: "3 completed, 0 with a warning, 0 failed".
// Failed runs (outcome Failed) are counted, not averaged: the values they logged before the
// failure are left out. Runs that ended with a warning logged their results whole and are
// averaged with the completed ones. Values are matched by name, in the order they first
// appeared; a value that is no number (NaN, infinite) is left out. Frequencies (Hz) are shown in
// MHz with 4 decimals, levels with 2. No runs: an empty text. The heading names the first run's
// measurement and title.
std::string RunSummary(const std::vector<MeasurementRecord>& runs);

}  // namespace kelvane
