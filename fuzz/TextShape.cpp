#include "fuzz/TextShape.h"

namespace kelvane::fuzz {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Scans digits from `at`; returns the position behind them.
std::size_t SkipDigits(std::string_view text, std::size_t at) {
    while (at < text.size() && IsDigit(text[at])) ++at;
    return at;
}

// An optional '-' and an integer part without leading zeros. Returns the position behind it.
std::optional<std::size_t> SignedInteger(std::string_view text, std::size_t at) {
    if (at < text.size() && text[at] == '-') ++at;
    const std::size_t end = SkipDigits(text, at);
    if (end == at) return std::nullopt;
    if (end - at > 1 && text[at] == '0') return std::nullopt;
    return end;
}

std::optional<std::size_t> ShownNumber(std::string_view text, std::size_t at,
                                       std::size_t decimals) {
    const auto integerEnd = SignedInteger(text, at);
    if (!integerEnd || *integerEnd >= text.size() || text[*integerEnd] != '.') return std::nullopt;
    const std::size_t fractionStart = *integerEnd + 1;
    // Exactly `decimals` digits: the next shape character is never a digit.
    if (SkipDigits(text, fractionStart) - fractionStart != decimals) return std::nullopt;
    return fractionStart + decimals;
}

std::optional<std::size_t> GeneralNumber(std::string_view text, std::size_t at) {
    auto end = SignedInteger(text, at);
    if (!end) return std::nullopt;
    std::size_t i = *end;
    if (i < text.size() && text[i] == '.') {
        const std::size_t fractionEnd = SkipDigits(text, i + 1);
        // No empty fraction and no trailing zero.
        if (fractionEnd == i + 1 || text[fractionEnd - 1] == '0') return std::nullopt;
        i = fractionEnd;
    }
    if (i < text.size() && text[i] == 'E') {
        if (i + 1 >= text.size() || (text[i + 1] != '+' && text[i + 1] != '-')) return std::nullopt;
        const std::size_t exponentEnd = SkipDigits(text, i + 2);
        const std::size_t exponentDigits = exponentEnd - (i + 2);
        if (exponentDigits < 2 || exponentDigits > 3) return std::nullopt;
        i = exponentEnd;
    }
    return i;
}

}  // namespace

std::optional<std::size_t> MatchShapePrefix(std::string_view text, std::string_view shape) {
    std::size_t at = 0;
    for (char s : shape) {
        std::optional<std::size_t> next;
        if (s == '@') {
            next = ShownNumber(text, at, 2);
        } else if (s == '%') {
            next = ShownNumber(text, at, 3);
        } else if (s == '$') {
            next = GeneralNumber(text, at);
        } else if (at < text.size() && text[at] == s) {
            next = at + 1;
        }
        if (!next) return std::nullopt;
        at = *next;
    }
    return at;
}

bool MatchesShape(std::string_view text, std::string_view shape) {
    const auto length = MatchShapePrefix(text, shape);
    return length && *length == text.size();
}

}  // namespace kelvane::fuzz
