#include "charts/ChartParts.h"

#include "measurements/NumberForms.h"

namespace kelvane {

std::string Decimals(double value, int decimals) {
    std::string pattern = "0";
    if (decimals > 0) pattern += "." + std::string(static_cast<std::size_t>(decimals), '0');
    return PatternNumber(value, pattern);
}

std::string SignedDecimals(double value, int decimals) {
    std::string text = Decimals(value, decimals);
    // A negative number, even one rounding to zero, is already signed; "NaN" stays as it is.
    if (text.front() != '-' && text != "NaN") text.insert(text.begin(), '+');
    return text;
}

std::string MegahertzNumber(double hz) { return GeneralNumber(hz / 1e6); }

double OffsetMhz(double hz, double centerHz) { return (hz - centerHz) / 1e6; }

std::string OffsetAxisTitle(double centerHz) {
    return "Offset from " + MegahertzNumber(centerHz) + " MHz (MHz)";
}

ChartTone ToneOf(const JudgedValue& value) {
    if (!value.passed) return ChartTone::Neutral;
    return *value.passed ? ChartTone::Pass : ChartTone::Fail;
}

}  // namespace kelvane
