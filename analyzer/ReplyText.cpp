#include "analyzer/ReplyText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace kelvane {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Characters that may stand behind the last number of a reply: blanks, the analyzer's line end
// and the untouched tail of the buffer.
bool IsTail(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\0'; }

// Reads a decimal number from `chars` (a text already stripped of anything that the number may
// not contain): sign, digits, fraction, exponent. Returns how many characters it took, 0 when
// there is no number at the start. The exponent is taken only when digits follow it.
std::size_t ScanNumber(std::string_view chars) {
    std::size_t i = 0;
    if (i < chars.size() && (chars[i] == '+' || chars[i] == '-')) ++i;
    std::size_t mantissaDigits = 0;
    while (i < chars.size() && IsDigit(chars[i])) {
        ++i;
        ++mantissaDigits;
    }
    if (i < chars.size() && chars[i] == '.') {
        ++i;
        while (i < chars.size() && IsDigit(chars[i])) {
            ++i;
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0) return 0;
    if (i < chars.size() && (chars[i] == 'e' || chars[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < chars.size() && (chars[j] == '+' || chars[j] == '-')) ++j;
        if (j < chars.size() && IsDigit(chars[j])) {
            while (j < chars.size() && IsDigit(chars[j])) ++j;
            i = j;
        }
    }
    return i;
}

// The power of ten of a scanned number's first significant digit: 2 for "123", -3 for "0.00123",
// 1 for "0.5e2". Only used to tell an overflow from an underflow, so it need not be exact.
long DecimalOrder(std::string_view number) {
    const std::size_t exponentAt = number.find_first_of("eE");
    const std::string_view mantissa = number.substr(0, exponentAt);
    long exponent = 0;
    if (exponentAt != std::string_view::npos) {
        std::string_view digits = number.substr(exponentAt + 1);
        const bool negative = !digits.empty() && digits[0] == '-';
        if (!digits.empty() && (digits[0] == '-' || digits[0] == '+')) digits.remove_prefix(1);
        for (char c : digits) exponent = std::min(exponent * 10 + (c - '0'), 1000000L);
        if (negative) exponent = -exponent;
    }
    const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
    const std::size_t first = mantissa.find_first_of("123456789");
    if (first == std::string_view::npos) return 0;
    const long order =
        first < point ? static_cast<long>(point - first) - 1 : -static_cast<long>(first - point);
    return order + exponent;
}

// The value of a scanned number text; no value when it lies outside the double's range. The
// conversion does not depend on the program's locale: "." is always the decimal point.
std::optional<double> ToDouble(std::string_view number) {
    if (!number.empty() && number[0] == '+') number.remove_prefix(1);
    double value = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (error == std::errc::result_out_of_range) {
        // Too small for a double reads as zero (with its sign); too large is no number.
        if (DecimalOrder(number) > 0) return std::nullopt;
        return number[0] == '-' ? -0.0 : 0.0;
    }
    if (error != std::errc() || end != number.data() + number.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

}  // namespace

std::vector<std::string> SplitReply(std::string_view text) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = text.find(',', start);
        if (comma == std::string_view::npos) {
            fields.emplace_back(text.substr(start));
            return fields;
        }
        fields.emplace_back(text.substr(start, comma - start));
        start = comma + 1;
    }
}

std::optional<double> StrictNumber(std::string_view text) {
    std::size_t begin = 0;
    while (begin < text.size() && (text[begin] == ' ' || text[begin] == '\t')) ++begin;
    const std::string_view rest = text.substr(begin);
    const std::size_t length = ScanNumber(rest);
    if (length == 0) return std::nullopt;
    for (char c : rest.substr(length))
        if (!IsTail(c)) return std::nullopt;
    return ToDouble(rest.substr(0, length));
}

namespace {

// What may stand right behind a number that the analyzer sent: a field separator, a blank or
// tab, its line end or the untouched tail of the buffer.
bool EndsNumber(char c) { return c == ',' || IsTail(c); }

}  // namespace

std::optional<double> LeadingNumber(std::string_view text) {
    // Blanks, tabs and line feeds do not count anywhere, so they are dropped before scanning.
    std::string compact;
    for (char c : text) {
        if (c == ' ' || c == '\t' || c == '\n') continue;
        if (!(IsDigit(c) || c == '+' || c == '-' || c == '.' || c == 'e' || c == 'E')) break;
        compact += c;
    }
    const std::size_t length = ScanNumber(compact);
    if (length == 0) return std::nullopt;
    return ToDouble(std::string_view(compact).substr(0, length));
}

std::optional<double> DelimitedLeadingNumber(std::string_view text) {
    std::size_t begin = 0;
    while (begin < text.size() &&
           (text[begin] == ' ' || text[begin] == '\t' || text[begin] == '\n'))
        ++begin;
    const std::string_view rest = text.substr(begin);
    const std::size_t length = ScanNumber(rest);
    if (length == 0) return std::nullopt;
    std::size_t after = length;
    if (after < rest.size() && !EndsNumber(rest[after])) return std::nullopt;
    // The text is what the read delivered: a NUL inside it ends the number only as the start of
    // a fill that runs to its end ("-10.2\0" + "047" is no -10.2).
    if (after < rest.size() && rest[after] == '\0' &&
        !std::all_of(rest.begin() + static_cast<std::ptrdiff_t>(after), rest.end(), IsTail))
        return std::nullopt;
    // "-10.2 5" or "1 60": which number was meant cannot be told, so neither is taken.
    while (after < rest.size() && IsTail(rest[after]) && rest[after] != '\0') ++after;
    if (after < rest.size() &&
        std::string_view("0123456789+-.eE").find(rest[after]) != std::string_view::npos)
        return std::nullopt;
    return ToDouble(rest.substr(0, length));
}

std::string PrintableExcerpt(std::string_view text, std::size_t maxLength) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsTail(text[begin])) ++begin;
    while (end > begin && IsTail(text[end - 1])) --end;
    std::string out;
    for (std::size_t i = begin; i < end; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0x20 && c < 0x7f) {
            out += static_cast<char>(c);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        }
        if (out.size() >= maxLength) {
            if (i + 1 < end) out += "...";
            break;
        }
    }
    return out;
}

}  // namespace kelvane
