#pragma once

#include <string>
#include <string_view>

namespace kelvane {

// The text of a number inside a command: "0" for zero; otherwise rounded to 15 significant
// digits in plain decimal, without trailing zeros or an empty fraction ("2000000000", "-8.53").
// Magnitudes below 1e-4 or from 1e15 on are written in exponent form ("1E+15", "1E-05").
std::string GeneralNumber(double value);

// The text of a number in a result line from a display pattern such as "#0.00" or "###0.000":
// the number's shortest decimal form of at most 15 significant digits, rounded to as many
// decimals as the pattern has digits after its point, halves away from zero; at least as many
// integer digits as the pattern has '0's before its point; never any grouping. A negative
// number keeps its '-' even when it rounds to zero; -0.0 prints as 0.
std::string PatternNumber(double value, std::string_view pattern);

}  // namespace kelvane
