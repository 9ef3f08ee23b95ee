#include "measurements/NumberForms.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace kelvane {

namespace {

// A finite, non-zero magnitude as at most 15 significant decimal digits: value =
// 0.d1d2d3... x 10^(exponent + 1), i.e. the first digit stands at the 10^exponent place.
struct Decimal {
    std::string digits;  // no trailing zeros, first digit not zero
    int exponent = 0;
};

Decimal ToDecimal(double magnitude) {
    char text[40];
    std::snprintf(text, sizeof text, "%.14e", magnitude);
    // "d.dddddddddddddde+XX"
    Decimal result;
    result.digits += text[0];
    result.digits.append(text + 2, 14);
    result.exponent = std::atoi(text + 17);
    while (result.digits.size() > 1 && result.digits.back() == '0') result.digits.pop_back();
    return result;
}

std::string NonFinite(double value) {
    if (std::isnan(value)) return "NaN";
    return value < 0 ? "-Infinity" : "Infinity";
}

// Adds one unit in the last place of a string of decimal digits.
void Increment(std::string& digits) {
    for (std::size_t place = digits.size(); place-- > 0;) {
        if (digits[place] != '9') {
            ++digits[place];
            return;
        }
        digits[place] = '0';
    }
    digits.insert(digits.begin(), '1');
}

}  // namespace

std::string GeneralNumber(double value) {
    if (value == 0) return "0";
    if (!std::isfinite(value)) return NonFinite(value);
    const Decimal d = ToDecimal(std::fabs(value));
    std::string text = value < 0 ? "-" : "";
    if (d.exponent < -4 || d.exponent >= 15) {
        // Outside the plain range: mantissa and a signed exponent of at least two digits.
        text += d.digits.substr(0, 1);
        if (d.digits.size() > 1) {
            text += '.';
            text += d.digits.substr(1);
        }
        char exponent[16];
        std::snprintf(exponent, sizeof exponent, "E%c%02d", d.exponent < 0 ? '-' : '+',
                      std::abs(d.exponent));
        return text + exponent;
    }
    if (d.exponent < 0) return text + "0." + std::string(-d.exponent - 1, '0') + d.digits;
    const auto integerDigits = static_cast<std::size_t>(d.exponent) + 1;
    if (d.digits.size() <= integerDigits)
        return text + d.digits + std::string(integerDigits - d.digits.size(), '0');
    return text + d.digits.substr(0, integerDigits) + "." + d.digits.substr(integerDigits);
}

std::string PatternNumber(double value, std::string_view pattern) {
    if (!std::isfinite(value)) return NonFinite(value);
    const std::size_t point = pattern.find('.');
    const std::string_view integerPattern = pattern.substr(0, point);
    const std::size_t decimals = point == std::string_view::npos ? 0 : pattern.size() - point - 1;
    std::size_t minIntegerDigits = 0;
    for (char c : integerPattern)
        if (c == '0') ++minIntegerDigits;

    // Integer and fraction digits of the magnitude at full (15-digit) precision.
    std::string integerPart = "0";
    std::string fraction;
    if (value != 0) {
        const Decimal d = ToDecimal(std::fabs(value));
        if (d.exponent >= 0) {
            const auto integerDigits = static_cast<std::size_t>(d.exponent) + 1;
            integerPart = d.digits.substr(0, std::min(integerDigits, d.digits.size()));
            if (d.digits.size() < integerDigits)
                integerPart += std::string(integerDigits - d.digits.size(), '0');
            else
                fraction = d.digits.substr(integerDigits);
        } else {
            fraction = std::string(-d.exponent - 1, '0') + d.digits;
        }
    }

    // Round half away from zero at the pattern's last decimal.
    const bool roundUp = fraction.size() > decimals && fraction[decimals] >= '5';
    fraction.resize(decimals, '0');
    std::string all = integerPart + fraction;
    if (roundUp) Increment(all);
    integerPart = all.substr(0, all.size() - decimals);
    fraction = all.substr(all.size() - decimals);

    while (integerPart.size() > 1 && integerPart[0] == '0') integerPart.erase(0, 1);
    if (integerPart == "0" && minIntegerDigits == 0) integerPart.clear();
    if (integerPart.size() < minIntegerDigits)
        integerPart.insert(0, minIntegerDigits - integerPart.size(), '0');

    std::string text = std::signbit(value) && value != 0 ? "-" : "";
    text += integerPart;
    if (decimals > 0) text += "." + fraction;
    return text;
}

}  // namespace kelvane
