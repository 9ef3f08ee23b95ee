#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

#include "measurements/MeasurementContext.h"
#include "results/Verdict.h"

namespace kelvane {

// The text forms that every way of keeping a record shares (JSON Lines, CSV, the report, the
// databases), so that one record reads the same wherever it is kept.

// "completed", "warning", "failed", "interrupted".
std::string_view OutcomeName(MeasurementOutcome outcome);

// UTC, ISO 8601 with milliseconds: "2026-12-09T14:19:50.123Z".
std::string UtcTimeText(std::chrono::system_clock::time_point time);

// The shortest text that reads back as the same double ("-54.77", "4167031"); a whole number
// below 10^15 without an exponent ("2000000000", not "2e+09"), as a reader of the file expects.
std::string ShortestNumber(double value);
// ShortestNumber, or empty without a value.
std::string OptionalNumber(const std::optional<double>& value);

// "pass" or "fail".
std::string_view PassFail(bool passed);

// "mask_sent", "bs_power_dbm"; empty without a mask.
std::string_view MaskLimitsName(MaskLimits limits);

}  // namespace kelvane
