#include "bus/ReplyText.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

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

// The value of a scanned number text; no value when it lies outside the double's range.
std::optional<double> ToDouble(std::string_view number) {
    std::string text(number);
    if (!text.empty() && text[0] == '+') text.erase(0, 1);
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error == std::errc::result_out_of_range) {
        // Underflow to zero is harmless; overflow is no number.
        const double rough = std::strtod(text.c_str(), nullptr);
        if (std::isinf(rough)) return std::nullopt;
        return rough;
    }
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
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

double LenientNumber(std::string_view text) { return LeadingNumber(text).value_or(0.0); }

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
