#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "measurements/MeasurementContext.h"

namespace kelvane {

// One segment of an emission mask as Kelvane sent it ("SEMTIN"): the offsets from the carrier
// that it spans, on either side, and the absolute limit at its start and its stop; the limit
// runs straight from one to the other.
struct MaskSegment {
    double startOffsetHz = 0;
    double stopOffsetHz = 0;
    double startLevelDbm = 0;
    double stopLevelDbm = 0;

    bool operator==(const MaskSegment&) const = default;
};

// One row of an emission mask's result table: the frequency range of its segment on one side
// (Hz), where the spectrum came closest to the mask (FREQ, Hz) with its absolute level (dBm) and
// its level relative to the reference (dB), and the analyzer's own verdict where it gives one.
struct MaskRow {
    double startHz = 0;
    double stopHz = 0;
    double frequencyHz = 0;
    double levelDbm = 0;
    double relativeDb = 0;
    std::optional<bool> analyzerPassed;

    bool operator==(const MaskRow&) const = default;
};

// A number that a measurement logged, as the analyzer's answer carried it (full precision, in
// the answer's unit): "occupied_bandwidth" 4167031 Hz, "acp_lower_5mhz" -54.77 dB, "row_3"
// (a mask row, whose value is its absolute level in dBm).
struct MeasuredValue {
    MeasuredValue() = default;
    MeasuredValue(std::string name, double value, std::string unit,
                  std::optional<MaskRow> row = std::nullopt,
                  std::optional<double> offsetHz = std::nullopt)
        : name(std::move(name)),
          value(value),
          unit(std::move(unit)),
          row(std::move(row)),
          offsetHz(offsetHz) {}

    std::string name;
    double value = 0;
    std::string unit;            // "dBm", "dB" or "Hz"
    std::optional<MaskRow> row;  // for a mask row
    // Where the answer put the value, from the carrier (Hz): an adjacent channel's offset.
    std::optional<double> offsetHz;

    bool operator==(const MeasuredValue&) const = default;
};

// What one run of a measurement gave: how it ended, the values in the order they were logged
// (a failed run keeps those logged before the failure), the emission mask it sent, and its
// exact log text.
struct MeasurementResult {
    std::string title;  // the log's title line without its CR LF, e.g. "ACP Measurement..."
    MeasurementOutcome outcome = MeasurementOutcome::Failed;
    // The failure line or the warning line, without its CR LF; empty when completed.
    std::string message;
    std::vector<MeasuredValue> values;
    double centerHz = 0;            // the carrier the measurement was set to
    double spanHz = 0;              // the span it swept around the carrier
    std::vector<MaskSegment> mask;  // an emission mask's segments as sent; empty otherwise
    // The mask's levels rest on the peak the analyzer measured (the WLAN masks), rather than
    // being absolute limits (the W-CDMA mask).
    bool maskOnMeasuredPeak = false;
    std::string log;  // every text the run appended to the log, CR LF line ends
};

}  // namespace kelvane
