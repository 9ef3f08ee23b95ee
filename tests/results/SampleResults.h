#pragma once

#include <optional>
#include <string>
#include <vector>

#include "measurements/MeasurementResult.h"

namespace kelvane::testing {

// The W-CDMA emission mask as the measurement sends it (offsets from the carrier, absolute
// levels): flat -14 dBm from 2.515 to 2.715 MHz, sloping to -26 dBm at 3.515 MHz, flat to
// 4.0 MHz, then -13 dBm (1 MHz bandwidth) out to 8.0 MHz.
inline std::vector<MaskSegment> WcdmaMask() {
    return {{2.515e6, 2.715e6, -14, -14},
            {2.715e6, 3.515e6, -14, -26},
            {3.515e6, 4.0e6, -26, -26},
            {4.0e6, 8.0e6, -13, -13}};
}

// The 802.11a mask built on the measured peak: P = peak + 2 dB flat to 9 MHz, down to P - 20 at
// 11 MHz, P - 28 at 20 MHz, P - 40 at 30 MHz, flat to 39 MHz.
inline std::vector<MaskSegment> Wlan11aMask(double peakDbm) {
    const double p = peakDbm + 2;
    return {{0, 9e6, p, p},
            {9e6, 11e6, p, p - 20},
            {11e6, 20e6, p - 20, p - 28},
            {20e6, 30e6, p - 28, p - 40},
            {30e6, 39e6, p - 40, p - 40}};
}

inline MeasuredValue Value(std::string name, double value, std::string unit) {
    return {std::move(name), value, std::move(unit), std::nullopt};
}

// A mask row "row_N": START, STOP and FREQ in Hz, ABS LEV in dBm (the value), REL LEV in dB.
inline MeasuredValue Row(int number, double startHz, double stopHz, double frequencyHz,
                         double levelDbm, double relativeDb = 0,
                         std::optional<bool> analyzerPassed = std::nullopt) {
    MaskRow row{startHz, stopHz, frequencyHz, levelDbm, relativeDb, analyzerPassed};
    return {"row_" + std::to_string(number), levelDbm, "dBm", row};
}

inline MeasurementResult Result(std::string title, MeasurementOutcome outcome,
                                std::vector<MeasuredValue> values, double centerHz = 2000e6,
                                std::vector<MaskSegment> mask = {}) {
    MeasurementResult result;
    result.title = std::move(title);
    result.outcome = outcome;
    result.values = std::move(values);
    result.centerHz = centerHz;
    result.mask = std::move(mask);
    return result;
}

// A W-CDMA emission mask run that completed, with three rows from the simulated bench.
inline MeasurementResult WcdmaMaskResult() {
    MeasurementResult result = Result("S.E.M. Measurement...", MeasurementOutcome::Completed,
                                      {Row(1, 1992.00e6, 1996.00e6, 1995.50e6, -70.29, -60.1),
                                       Row(2, 1996.49e6, 1997.29e6, 1997.26e6, -77.87, -67.68),
                                       Row(3, 2002.72e6, 2003.52e6, 2002.77e6, -78.49, -68.3)},
                                      2000e6, WcdmaMask());
    result.spanHz = 20e6;
    result.log =
        "S.E.M. Measurement...\r\n"
        "START, STOP, FREQ, ABS LEV, REL LEV\r\n"
        "1992.00, 1996.00, 1995.50, -70.29, -60.10\r\n"
        "1996.49, 1997.29, 1997.26, -77.87, -67.68\r\n"
        "2002.72, 2003.52, 2002.77, -78.49, -68.30\r\n";
    return result;
}

}  // namespace kelvane::testing
