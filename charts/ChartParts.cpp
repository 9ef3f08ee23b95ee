#include "charts/ChartParts.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "measurements/NumberForms.h"

namespace kelvane {

namespace {

constexpr double kExponentFrom = 1e6;
constexpr int kMostDecimals = 15;

}  // namespace

std::string Decimals(double value, int decimals) {
    if (std::isfinite(value) && std::abs(value) >= kExponentFrom) {
        // to_chars, not printf: the same text under every locale.
        char text[48];
        const auto written =
            std::to_chars(text, text + sizeof text, value, std::chars_format::scientific,
                          std::clamp(decimals, 0, kMostDecimals));
        return std::string(text, written.ptr);
    }
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

std::string ShortNumber(double value, int decimals) {
    std::string text = Decimals(value, decimals);
    if (text.find('.') == std::string::npos || text.find('e') != std::string::npos) return text;
    while (text.back() == '0') text.pop_back();
    if (text.back() == '.') text.pop_back();
    if (text == "-0") text = "0";
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
