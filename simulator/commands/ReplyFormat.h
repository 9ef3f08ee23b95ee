#pragma once

#include <string>

namespace kelvane {

// Numbers as the analyzer writes them in replies: "." as the decimal point whatever the
// program's locale, no exponent, no grouping.
class ReplyFormat {
public:
    // Fixed-point with the given number of decimals: Fixed(-10.176, 2) is "-10.18".
    static std::string Fixed(double value, int decimals);
    // A frequency in whole Hz: "2000000000".
    static std::string Hz(double value) { return Fixed(value, 0); }
    // A level with two decimals: "-10.18".
    static std::string Level(double value) { return Fixed(value, 2); }
};

}  // namespace kelvane
