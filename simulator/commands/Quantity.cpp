#include "simulator/commands/Quantity.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <string>

#include "simulator/commands/CommandText.h"

namespace kelvane {

namespace {

struct Unit {
    std::string_view suffix;
    double scale;
};

constexpr Unit kFrequencyUnits[] = {{"", 1.0},   {"HZ", 1.0},  {"KZ", 1e3}, {"KHZ", 1e3},
                                    {"MZ", 1e6}, {"MHZ", 1e6}, {"GZ", 1e9}, {"GHZ", 1e9}};
constexpr Unit kLevelUnits[] = {{"", 1.0}, {"DB", 1.0}, {"DBM", 1.0}};
constexpr Unit kTimeUnits[] = {{"", 1.0}, {"S", 1.0}, {"SC", 1.0}, {"MS", 1e-3}, {"US", 1e-6}};
constexpr Unit kPlainUnits[] = {{"", 1.0}};

template <std::size_t N>
std::optional<double> Scale(const Unit (&units)[N], const std::string& suffix) {
    for (const auto& unit : units)
        if (unit.suffix == suffix) return unit.scale;
    return std::nullopt;
}

std::optional<double> UnitScale(QuantityKind kind, const std::string& suffix) {
    switch (kind) {
    case QuantityKind::Frequency:
        return Scale(kFrequencyUnits, suffix);
    case QuantityKind::Level:
        return Scale(kLevelUnits, suffix);
    case QuantityKind::Time:
        return Scale(kTimeUnits, suffix);
    case QuantityKind::Plain:
        return Scale(kPlainUnits, suffix);
    }
    return std::nullopt;
}

}  // namespace

std::optional<double> Quantity::Parse(std::string_view text, QuantityKind kind) {
    text = CommandText::Trimmed(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    // from_chars would also take "inf" and "nan"; the analyzer only knows digits.
    if (text.empty() ||
        !(std::isdigit(static_cast<unsigned char>(text.front())) || text.front() == '.'))
        return std::nullopt;
    double number = 0.0;
    const auto [end, error] =
        std::from_chars(text.data(), text.data() + text.size(), number, std::chars_format::general);
    if (error != std::errc{}) return std::nullopt;

    std::string suffix;
    for (const char* p = end; p != text.data() + text.size(); ++p) {
        if (!std::isalpha(static_cast<unsigned char>(*p))) return std::nullopt;
        suffix += static_cast<char>(std::toupper(static_cast<unsigned char>(*p)));
    }
    const auto scale = UnitScale(kind, suffix);
    if (!scale) return std::nullopt;
    const double value = (negative ? -number : number) * *scale;
    if (!std::isfinite(value)) return std::nullopt;
    return value;
}

}  // namespace kelvane
