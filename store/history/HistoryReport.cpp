#include "store/history/HistoryReport.h"

#include <cstdio>
#include <vector>

#include "results/RecordCsv.h"
#include "results/RecordFields.h"

namespace kelvane {

namespace {

// Six significant digits, without an exponent below 10^15: 4167031 -> "4167030".
std::string Rounded(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", value);
    return ShortestNumber(std::strtod(text, nullptr));
}

std::string Rounded(const std::optional<double>& value) {
    return value ? Rounded(*value) : std::string("-");
}

std::string Fixed(const std::optional<double>& value, int decimals) {
    if (!value) return "-";
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, *value);
    return text;
}

// A margin's unit: a level's margin is a level difference.
std::string MarginUnit(const std::string& unit) { return unit == "dBm" ? "dB" : unit; }

// The yield in percent, "87.5 % (35 of 40)"; "-" without DUTs, or for a measurement without a
// limit (nothing passes or fails).
std::string Yield(const History::Section& section) {
    if (section.firstRunDuts == 0 || section.pass + section.fail == 0) return "-";
    const double percent = 100.0 * static_cast<double>(section.firstPassDuts) /
                           static_cast<double>(section.firstRunDuts);
    return Fixed(percent, 1) + " % (" + std::to_string(section.firstPassDuts) + " of " +
           std::to_string(section.firstRunDuts) + ")";
}

// Rows of cells, each column as wide as its widest cell, two spaces between, left aligned.
std::string Table(const std::vector<std::vector<std::string>>& rows, const std::string& indent) {
    std::vector<std::size_t> widths;
    for (const auto& row : rows) {
        widths.resize(std::max(widths.size(), row.size()));
        for (std::size_t i = 0; i < row.size(); ++i) widths[i] = std::max(widths[i], row[i].size());
    }
    std::string text;
    for (const auto& row : rows) {
        std::string line = indent;
        for (std::size_t i = 0; i < row.size(); ++i) {
            line += row[i];
            if (i + 1 < row.size()) line += std::string(widths[i] - row[i].size() + 2, ' ');
        }
        text += line + "\n";
    }
    return text;
}

}  // namespace

std::string HistoryReport::Text() const {
    std::string selection;
    if (!filter_.since.empty()) selection += ", since " + filter_.since;
    if (!filter_.station.empty()) selection += ", station " + filter_.station;
    if (!filter_.measurement.empty()) selection += ", measurement " + filter_.measurement;
    std::string text = "History of " + source_ + ": " + std::to_string(history_.records) +
                       (history_.records == 1 ? " record" : " records") + selection + "\n";
    for (const History::Section& section : history_.sections) {
        text += "\n" + section.measurement +
                (section.station.empty() ? "" : " at " + section.station) + ": " +
                std::to_string(section.runs) + (section.runs == 1 ? " run, " : " runs, ") +
                std::to_string(section.duts) + (section.duts == 1 ? " DUT, " : " DUTs, ") +
                std::to_string(section.pass) + " pass, " + std::to_string(section.fail) +
                " fail, " + std::to_string(section.incomplete) + " incomplete, first-pass yield " +
                Yield(section) + "\n";
        if (section.values.empty()) continue;
        std::vector<std::vector<std::string>> rows = {
            {"value", "unit", "count", "min", "mean", "max", "std dev", "worst margin", "Cpk"}};
        for (const History::Value& value : section.values) {
            rows.push_back(
                {value.name, value.unit, std::to_string(value.count), Rounded(value.min),
                 Rounded(value.mean), Rounded(value.max), Rounded(value.standardDeviation),
                 value.worstMargin ? Rounded(*value.worstMargin) + " " + MarginUnit(value.unit)
                                   : "-",
                 Fixed(value.cpk, 2)});
        }
        text += Table(rows, "  ");
    }
    return text;
}

std::string HistoryReport::Csv() const {
    std::string text =
        CsvRow({"measurement", "station", "name", "runs", "duts", "pass", "fail", "incomplete",
                "first_pass_duts", "first_run_duts", "first_pass_yield", "unit", "count", "min",
                "mean", "max", "std_dev", "worst_margin", "cpk"});
    const auto number = [](const std::optional<double>& value) { return OptionalNumber(value); };
    for (const History::Section& section : history_.sections) {
        const std::optional<double> yield =
            section.firstRunDuts == 0 || section.pass + section.fail == 0
                ? std::nullopt
                : std::optional<double>(static_cast<double>(section.firstPassDuts) /
                                        static_cast<double>(section.firstRunDuts));
        text += CsvRow({section.measurement, section.station, "", std::to_string(section.runs),
                        std::to_string(section.duts), std::to_string(section.pass),
                        std::to_string(section.fail), std::to_string(section.incomplete),
                        std::to_string(section.firstPassDuts), std::to_string(section.firstRunDuts),
                        number(yield), "", "", "", "", "", "", "", ""});
        for (const History::Value& value : section.values) {
            text += CsvRow({section.measurement, section.station, value.name, "", "", "", "", "",
                            "", "", "", value.unit, std::to_string(value.count),
                            ShortestNumber(value.min), ShortestNumber(value.mean),
                            ShortestNumber(value.max), number(value.standardDeviation),
                            number(value.worstMargin), number(value.cpk)});
        }
    }
    return text;
}

}  // namespace kelvane
