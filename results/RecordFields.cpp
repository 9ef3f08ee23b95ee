#include "results/RecordFields.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "results/UtcTime.h"

namespace kelvane {

std::string_view OutcomeName(MeasurementOutcome outcome) {
    switch (outcome) {
    case MeasurementOutcome::Completed:
        return "completed";
    case MeasurementOutcome::Warning:
        return "warning";
    case MeasurementOutcome::Failed:
        return "failed";
    case MeasurementOutcome::Interrupted:
        return "interrupted";
    }
    return "failed";
}

std::string UtcTimeText(std::chrono::system_clock::time_point time) {
    const UtcTime t = UtcTimeOf(time);
    char text[48];
    std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02d.%03dZ", t.year, t.month, t.day,
                  t.hour, t.minute, t.second, t.millisecond);
    return text;
}

std::string ShortestNumber(double value) {
    char text[64];
    const bool whole = std::abs(value) < 1e15 && value == std::trunc(value);
    const auto [end, error] =
        whole ? std::to_chars(text, text + sizeof text, value, std::chars_format::fixed)
              : std::to_chars(text, text + sizeof text, value);
    return error == std::errc() ? std::string(text, end) : std::string();
}

std::string OptionalNumber(const std::optional<double>& value) {
    return value ? ShortestNumber(*value) : std::string();
}

std::string_view PassFail(bool passed) { return passed ? "pass" : "fail"; }

std::string_view MaskLimitsName(MaskLimits limits) {
    switch (limits) {
    case MaskLimits::Sent:
        return "mask_sent";
    case MaskLimits::BsPower:
        return "bs_power_dbm";
    case MaskLimits::None:
        break;
    }
    return "";
}

}  // namespace kelvane
