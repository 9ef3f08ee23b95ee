#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "measurements/MeasurementSetup.h"

namespace kelvane {

// The command line's set-up options and their checks, shared with the window's set-up dialog:
//   --wcdma-center FREQ, --wlan-11a-center FREQ, --wlan-11b-center FREQ   above 0, up to 50 GHz
//   --ref-level DB    -150 to +60 dB          --board N    0 to 15     --address N    0 to 30
// FREQ is a number with an optional unit, Hz, kHz, MHz or GHz in any case: 2140MHz, 2.14GHz,
// 2140e6, 2140000000.
class SetupOptions {
public:
    static constexpr double kMaxFrequencyHz = 50e9;
    static constexpr double kMinReferenceLevelDb = -150.0;
    static constexpr double kMaxReferenceLevelDb = 60.0;

    // Whether `option` (e.g. "--board") is one of them.
    static bool Names(std::string_view option);
    // Sets the option's value in `setup`; returns the one-line reason when the value is not
    // accepted (naming the option and the accepted range), empty otherwise.
    static std::string Apply(std::string_view option, std::string_view value,
                             MeasurementSetup& setup);
    // The reason for an option given without a value.
    static std::string MissingValue(std::string_view option);

    // FREQ in Hz; nullopt when the text is not a finite number with an optional unit.
    static std::optional<double> FrequencyHz(std::string_view text);
    // A finite decimal number without a unit.
    static std::optional<double> Number(std::string_view text);
    // A whole number of digits only, at most 9 of them.
    static std::optional<int> WholeNumber(std::string_view text);
};

}  // namespace kelvane
