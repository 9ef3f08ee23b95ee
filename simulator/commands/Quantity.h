#pragma once

#include <optional>
#include <string_view>

namespace kelvane {

// What a number in a command measures, which decides the unit suffixes it may carry.
enum class QuantityKind {
    Frequency,  // HZ, KZ/KHZ, MZ/MHZ, GZ/GHZ; none = Hz
    Level,      // DB, DBM; none = dB
    Time,       // SC/S, MS, US; none = s
    Plain,      // no suffix
};

// Numbers as the analyzer reads them in commands: optional sign, digits with an optional
// fraction, an optional exponent, then a unit suffix directly behind it ("30e3HZ", "3.84MZ",
// "-8.5DB", "500MS"). Blanks around the whole text are allowed. The value comes back in the base
// unit (Hz, dB, s); no value for anything malformed or a suffix that does not fit the kind.
class Quantity {
public:
    static std::optional<double> Parse(std::string_view text, QuantityKind kind);
};

}  // namespace kelvane
