#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "measurements/MeasurementSetup.h"
#include "results/RecordOrigin.h"

namespace kelvane {

// The command line's set-up options and their checks, shared with the window's set-up dialog:
//   --wcdma-center FREQ                        12.5 MHz to 50 GHz
//   --wlan-11a-center FREQ, --wlan-11b-center FREQ   40 MHz to 50 GHz
//   --ref-level DBM   -150 to +60 dBm          --board N    0 to 15     --address N    0 to 30
//   --path-loss DB    -50 to +100 dB           --bs-power DBM    -20 to +80 dBm
// FREQ is a number with an optional unit, Hz, kHz, MHz or GHz in any case: 2140MHz, 2.14GHz,
// 2140e6, 2140000000; DBM and DB take an optional dBm or dB unit in any case. And the options of
// a record's origin: --dut SERIAL, --operator NAME, --station NAME (at most 200 bytes, no control
// characters; the station not empty).
class SetupOptions {
public:
    static constexpr double kMaxFrequencyHz = 50e9;
    // Half the widest span a carrier's measurements sweep: ACP's 25 MHz around the W-CDMA
    // carrier, the emission masks' 80 MHz around a WLAN carrier. A carrier nearer to 0 Hz than
    // this would have the analyzer sweep below 0 Hz.
    static constexpr double kWcdmaHalfSpanHz = 12.5e6;
    static constexpr double kWlanHalfSpanHz = 40e6;
    static constexpr double kMinReferenceLevelDbm = -150.0;
    static constexpr double kMaxReferenceLevelDbm = 60.0;
    static constexpr double kMinPathLossDb = -50.0;  // a gain of 50 dB
    static constexpr double kMaxPathLossDb = 100.0;
    static constexpr double kMinBsPowerDbm = -20.0;
    static constexpr double kMaxBsPowerDbm = 80.0;
    static constexpr std::size_t kMaxOriginBytes = 200;

    // Whether `option` (e.g. "--board") is one of the set-up options, which Apply sets.
    static bool Names(std::string_view option);
    // Whether `option` is one of the origin's, which ApplyOrigin sets.
    static bool NamesOrigin(std::string_view option);
    // Sets the option's value in `setup`; returns the one-line reason when the value is not
    // accepted (naming the option and the accepted range), empty otherwise.
    static std::string Apply(std::string_view option, std::string_view value,
                             MeasurementSetup& setup);
    // The same for the options of a record's origin.
    static std::string ApplyOrigin(std::string_view option, std::string_view value,
                                   RecordOrigin& origin);
    // The value of the option at arguments[i], given as "--option=VALUE" or as the next argument
    // (then i moves on to it; an argument that starts with "--" is none); nullopt without one.
    static std::optional<std::string> OptionValue(const std::vector<std::string>& arguments,
                                                  std::size_t& i, std::string_view option);
    // The reason for an option given without a value.
    static std::string MissingValue(std::string_view option);

    // FREQ in Hz; nullopt when the text is not a finite number with an optional unit.
    static std::optional<double> FrequencyHz(std::string_view text);
    // A finite decimal number without a unit.
    static std::optional<double> Number(std::string_view text);
    // A finite decimal number with an optional unit, given here in lower case and matched in
    // any case, blanks allowed before it: NumberIn("-20.5 DBm", "dbm") is -20.5.
    static std::optional<double> NumberIn(std::string_view text, std::string_view unit);
    // A whole number of digits only, at most 9 of them.
    static std::optional<int> WholeNumber(std::string_view text);
    // Text from the operator as a one-line message shows it: control characters as \xNN, and
    // beyond 60 bytes cut (at a character's start) with "..." behind.
    static std::string Shown(std::string_view text);
    // The same, never cut: a file's name, which a message must name whole to be of use.
    static std::string ShownWhole(std::string_view text);
};

}  // namespace kelvane
