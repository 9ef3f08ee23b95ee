#include "app/SetupOptions.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cmath>

namespace kelvane {

namespace {

enum class Field {
    WcdmaCenter,
    Wlan11aCenter,
    Wlan11bCenter,
    ReferenceLevel,
    PathLoss,
    BsPower,
    Board,
    Address,
    Dut,
    Operator,
    Station,
};

struct Option {
    std::string_view name;
    Field field;
    const char* range;  // what is accepted, for the reason
};

constexpr std::array<Option, 11> kOptions{{
    {"--wcdma-center", Field::WcdmaCenter,
     "a frequency from 12.5 MHz to 50 GHz (e.g. 2140MHz, 2.14GHz, 2140e6)"},
    {"--wlan-11a-center", Field::Wlan11aCenter,
     "a frequency from 40 MHz to 50 GHz (e.g. 5180MHz, 5.18GHz, 5180e6)"},
    {"--wlan-11b-center", Field::Wlan11bCenter,
     "a frequency from 40 MHz to 50 GHz (e.g. 2462MHz, 2.462GHz, 2462e6)"},
    {"--ref-level", Field::ReferenceLevel, "a reference level from -150 to +60 dBm"},
    {"--path-loss", Field::PathLoss, "a path loss from -50 to +100 dB (a gain is negative)"},
    {"--bs-power", Field::BsPower, "a base station power from -20 to +80 dBm"},
    {"--board", Field::Board, "a GPIB board index from 0 to 15"},
    {"--address", Field::Address, "a primary address from 0 to 30"},
    {"--dut", Field::Dut, "a serial number of at most 200 bytes without control characters"},
    {"--operator", Field::Operator, "a name of at most 200 bytes without control characters"},
    {"--station", Field::Station, "a station name of 1 to 200 bytes without control characters"},
}};

bool IsOrigin(Field field) {
    return field == Field::Dut || field == Field::Operator || field == Field::Station;
}

const Option* Find(std::string_view name) {
    const auto found = std::find_if(kOptions.begin(), kOptions.end(),
                                    [name](const Option& option) { return option.name == name; });
    return found == kOptions.end() ? nullptr : &*found;
}

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

bool IsControl(unsigned char c) { return c < 0x20 || c == 0x7f; }

std::string Refusal(const Option& option, std::string_view value) {
    return std::string(option.name) + ": '" + SetupOptions::Shown(value) + "' is not " +
           option.range;
}

bool InRange(double value, double low, double high) { return value >= low && value <= high; }

}  // namespace

bool SetupOptions::Names(std::string_view option) {
    const Option* found = Find(option);
    return found != nullptr && !IsOrigin(found->field);
}

bool SetupOptions::NamesOrigin(std::string_view option) {
    const Option* found = Find(option);
    return found != nullptr && IsOrigin(found->field);
}

std::optional<double> SetupOptions::Number(std::string_view text) {
    if (text.size() > 1 && text.front() == '+' && text[1] != '-') text.remove_prefix(1);
    // Digits, a point, an exponent: what from_chars takes, but not "inf", "nan" or hex.
    if (text.empty() || text.find_first_not_of("0123456789.eE+-") != std::string_view::npos)
        return std::nullopt;
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<double> SetupOptions::NumberIn(std::string_view text, std::string_view unit) {
    if (text.size() > unit.size() && Lower(text).ends_with(unit)) {
        text.remove_suffix(unit.size());
        while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    }
    return Number(text);
}

std::optional<double> SetupOptions::FrequencyHz(std::string_view text) {
    // The unit moves the decimal exponent, so that "2.14GHz" is exactly 2140000000 Hz.
    static constexpr std::pair<std::string_view, int> kUnits[]{
        {"ghz", 9}, {"mhz", 6}, {"khz", 3}, {"hz", 0}};
    const std::string lower = Lower(text);
    for (const auto& [unit, exponent] : kUnits) {
        if (lower.size() <= unit.size() || !lower.ends_with(unit)) continue;
        std::string_view numberText = text.substr(0, text.size() - unit.size());
        while (!numberText.empty() && numberText.back() == ' ') numberText.remove_suffix(1);
        if (!Number(numberText)) return std::nullopt;
        const std::size_t e = numberText.find_first_of("eE");
        const auto ownExponent = e == std::string_view::npos ? std::optional<double>(0)
                                                             : Number(numberText.substr(e + 1));
        if (!ownExponent || std::abs(*ownExponent) > 1000) return std::nullopt;
        const std::string shifted = std::string(numberText.substr(0, e)) + "e" +
                                    std::to_string(static_cast<int>(*ownExponent) + exponent);
        return Number(shifted);
    }
    return Number(text);
}

std::optional<int> SetupOptions::WholeNumber(std::string_view text) {
    if (text.empty() || text.size() > 9 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    int value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

std::string SetupOptions::Shown(std::string_view text) {
    constexpr std::size_t kShownBytes = 60;
    std::string_view kept = text;
    if (text.size() > kShownBytes) {
        // Not inside a UTF-8 character: back to the byte that starts one.
        std::size_t cut = kShownBytes;
        while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xc0) == 0x80) --cut;
        kept = text.substr(0, cut);
    }
    const std::string shown = ShownWhole(kept);
    return kept.size() < text.size() ? shown + "..." : shown;
}

std::string SetupOptions::ShownWhole(std::string_view text) {
    std::string shown;
    for (const unsigned char c : text) {
        if (IsControl(c)) {
            static constexpr char kHex[] = "0123456789abcdef";
            shown += {'\\', 'x', kHex[c >> 4], kHex[c & 0xf]};
        } else {
            shown += static_cast<char>(c);
        }
    }
    return shown;
}

std::optional<std::string> SetupOptions::OptionValue(const std::vector<std::string>& arguments,
                                                     std::size_t& i, std::string_view option) {
    const std::string& argument = arguments[i];
    if (argument.size() > option.size()) return argument.substr(option.size() + 1);
    if (i + 1 < arguments.size() && !arguments[i + 1].starts_with("--")) return arguments[++i];
    return std::nullopt;
}

std::string SetupOptions::MissingValue(std::string_view option) {
    const Option* found = Find(option);
    return std::string(option) + " needs " + (found ? found->range : "a value");
}

std::string SetupOptions::Apply(std::string_view option, std::string_view value,
                                MeasurementSetup& setup) {
    const Option* found = Find(option);
    if (found == nullptr || IsOrigin(found->field)) return "unknown option '" + Shown(option) + "'";
    const std::string refused = Refusal(*found, value);
    switch (found->field) {
    case Field::WcdmaCenter:
    case Field::Wlan11aCenter:
    case Field::Wlan11bCenter: {
        const bool wcdma = found->field == Field::WcdmaCenter;
        const auto hz = FrequencyHz(value);
        if (!hz || !InRange(*hz, wcdma ? kWcdmaHalfSpanHz : kWlanHalfSpanHz, kMaxFrequencyHz))
            return refused;
        double& target = wcdma                                  ? setup.wcdmaCenterHz
                         : found->field == Field::Wlan11aCenter ? setup.wlan11aCenterHz
                                                                : setup.wlan11bCenterHz;
        target = *hz;
        return {};
    }
    case Field::ReferenceLevel: {
        const auto dbm = NumberIn(value, "dbm");
        if (!dbm || !InRange(*dbm, kMinReferenceLevelDbm, kMaxReferenceLevelDbm)) return refused;
        setup.referenceLevelDbm = *dbm + 0.0;  // -0 is 0
        return {};
    }
    case Field::PathLoss: {
        const auto db = NumberIn(value, "db");
        if (!db || !InRange(*db, kMinPathLossDb, kMaxPathLossDb)) return refused;
        setup.pathLoss = PathLoss::Fixed(*db + 0.0);
        return {};
    }
    case Field::BsPower: {
        const auto dbm = NumberIn(value, "dbm");
        if (!dbm || !InRange(*dbm, kMinBsPowerDbm, kMaxBsPowerDbm)) return refused;
        setup.bsPowerDbm = *dbm + 0.0;
        return {};
    }
    case Field::Board:
    case Field::Address: {
        const bool board = found->field == Field::Board;
        const auto number = WholeNumber(value);
        const int max = board ? AnalyzerAddress::kMaxBoard : AnalyzerAddress::kMaxPrimaryAddress;
        if (!number || *number > max) return refused;
        (board ? setup.address.board : setup.address.primaryAddress) = *number;
        return {};
    }
    case Field::Dut:
    case Field::Operator:
    case Field::Station:
        break;
    }
    return refused;
}

std::string SetupOptions::ApplyOrigin(std::string_view option, std::string_view value,
                                      RecordOrigin& origin) {
    const Option* found = Find(option);
    if (found == nullptr || !IsOrigin(found->field))
        return "unknown option '" + Shown(option) + "'";
    // Text, kept as it is: only what would break a line or a record's field is refused.
    const bool station = found->field == Field::Station;
    if (value.size() > kMaxOriginBytes || (station && value.empty()) ||
        std::any_of(value.begin(), value.end(),
                    [](char c) { return IsControl(static_cast<unsigned char>(c)); }))
        return Refusal(*found, value);
    std::string& target = found->field == Field::Dut ? origin.dut
                          : station                  ? origin.station
                                                     : origin.operatorName;
    target = value;
    return {};
}

}  // namespace kelvane
