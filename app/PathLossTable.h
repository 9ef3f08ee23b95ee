#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "measurements/MeasurementSetup.h"
#include "measurements/PathLoss.h"

namespace kelvane {

// The path loss table of --path-loss-table FILE: CSV lines of a frequency (FREQ as the set-up
// takes it: Hz, or with kHz, MHz or GHz) and a loss in dB (-50 to +100, a gain negative, with an
// optional dB unit), for example
//   frequency,loss
//   2100MHz,1.8
//   2200MHz,2.1
// The first line may be a header: it is when its first field is not a frequency. At least two
// rows, each at a higher frequency than the one before; blank lines and CR LF line ends are
// allowed.
class PathLossTable {
public:
    // Where a measurement sweeps: around which carrier.
    enum class Carrier { Wcdma, Wlan11a, Wlan11b };

    struct Parsed {
        std::vector<PathLossPoint> points;
        // Why the text is refused, naming the line where there is one ("line 3: ..."); empty
        // when it is a good table.
        std::string problem;
    };

    // The rows of a table's text.
    static Parsed Parse(std::string_view text);
    // Reads and parses FILE (a UTF-8 name) into `loss`; returns the one-line reason it is
    // refused, naming the option, the file and the line (`--path-loss-table "loss.csv" line 3:
    // ...`), empty when it is taken.
    static std::string Read(const std::string& file, PathLoss& loss);

    // The carrier that the measurement with this batch name sweeps around.
    static Carrier CarrierOf(std::string_view measurementName);
    // Why the set-up's path loss table does not do for measurements around these carriers:
    // "covers 2100 MHz to 2200 MHz, not 2127.5 MHz to 2152.5 MHz around the W-CDMA carrier"
    // for the first carrier whose center +/- half its widest span (SetupOptions) the table does
    // not cover. Empty when it covers them all, and without a table.
    static std::string Uncovered(const MeasurementSetup& setup,
                                 const std::vector<Carrier>& carriers);
};

}  // namespace kelvane
