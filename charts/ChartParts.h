#pragma once

#include <string>

#include "charts/ChartModel.h"
#include "results/Verdict.h"

namespace kelvane {

// Pieces that the charts share: their texts (independent of the program's locale), offsets and
// tones. Numbers stay short whatever their size: from a magnitude of 1e6 on they are written
// with an exponent ("1.00e+300"), never as hundreds of digits.

// The decimals the charts write: levels, margins and limits in dB or dBm with 2, frequencies and
// offsets in MHz with 3.
inline constexpr int kLevelDecimals = 2;
inline constexpr int kMhzDecimals = 3;

// A number with `decimals` decimals, halves away from zero: "-54.78", "4.167"; "1.00e+300".
std::string Decimals(double value, int decimals);

// The same with its sign always written, as a margin is shown: "+57.29", "-1.20", "+0.00".
std::string SignedDecimals(double value, int decimals);

// A number with at most `decimals` decimals and no trailing zeros: "-13", "-19.37", "2.5".
std::string ShortNumber(double value, int decimals);

// A frequency in Hz as MHz in the shortest form that keeps it: "2000", "2412.5".
std::string MegahertzNumber(double hz);

// The offset of `hz` from the carrier at `centerHz`, in MHz.
double OffsetMhz(double hz, double centerHz);

// The title of an offset axis: "Offset from 2000 MHz (MHz)".
std::string OffsetAxisTitle(double centerHz);

// A judged value's tone: Pass or Fail by its verdict, Neutral without one.
ChartTone ToneOf(const JudgedValue& value);

}  // namespace kelvane
