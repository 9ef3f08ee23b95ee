#include "store/history/HistoryQuery.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

#include "measurements/MeasurementCatalog.h"

namespace kelvane {

namespace {

std::string TextAt(const SqlRow& row, std::size_t i) {
    const auto* text = std::get_if<std::string>(&row[i]);
    return text ? *text : std::string();
}

std::size_t CountAt(const SqlRow& row, std::size_t i) {
    if (const auto* whole = std::get_if<std::int64_t>(&row[i]))
        return static_cast<std::size_t>(*whole);
    if (const auto* number = std::get_if<double>(&row[i])) return static_cast<std::size_t>(*number);
    return 0;
}

std::optional<double> NumberAt(const SqlRow& row, std::size_t i) {
    if (const auto* number = std::get_if<double>(&row[i])) return *number;
    if (const auto* whole = std::get_if<std::int64_t>(&row[i])) return static_cast<double>(*whole);
    return std::nullopt;
}

std::size_t CatalogIndex(const std::string& measurement) {
    const auto& catalog = MeasurementCatalog();
    for (std::size_t i = 0; i < catalog.size(); ++i)
        if (catalog[i].name == measurement) return i;
    return catalog.size();
}

}  // namespace

std::string HistoryQuery::Where(const std::string& table, SqlRow& parameters,
                                const std::string& also) const {
    std::vector<std::string> conditions;
    const auto add = [&](const std::string& column, const std::string& value) {
        parameters.emplace_back(value);
        conditions.push_back(table + column + " $" + std::to_string(parameters.size()));
    };
    if (!also.empty()) conditions.push_back(table + also);
    if (!filter_.since.empty()) add("started >=", filter_.since);
    if (!filter_.station.empty()) add("station =", filter_.station);
    if (!filter_.measurement.empty()) add("measurement =", filter_.measurement);
    std::string where;
    for (const std::string& condition : conditions)
        where += (where.empty() ? " WHERE " : " AND ") + condition;
    return where;
}

std::string HistoryQuery::StationColumn(const std::string& table) const {
    return filter_.byStation ? table + "station" : "''";
}

std::optional<History> HistoryQuery::Run(TextQuery& database) const {
    const std::string group = filter_.byStation ? "measurement, station" : "measurement";
    SqlRow countParameters;
    const auto counts =
        database.Query("SELECT measurement, " + StationColumn("") +
                           ", count(*), count(DISTINCT CASE WHEN dut <> '' THEN dut END), "
                           "sum(CASE WHEN verdict = 'pass' THEN 1 ELSE 0 END), "
                           "sum(CASE WHEN verdict = 'fail' THEN 1 ELSE 0 END), "
                           "sum(CASE WHEN verdict = 'incomplete' THEN 1 ELSE 0 END) FROM records" +
                           Where("", countParameters) + " GROUP BY " + group,
                       countParameters);
    if (!counts) return std::nullopt;
    // A DUT's first run of each measurement: the earliest record (by start, then id).
    SqlRow firstParameters;
    const auto firsts = database.Query(
        "SELECT measurement, " + StationColumn("") +
            ", count(*), sum(CASE WHEN verdict = 'pass' THEN 1 ELSE 0 END) FROM (SELECT "
            "measurement, station, verdict, row_number() OVER (PARTITION BY measurement, dut "
            "ORDER BY started, record_id) AS nth FROM records" +
            Where("", firstParameters, "dut <> ''") + ") AS runs WHERE nth = 1 GROUP BY " + group,
        firstParameters);
    if (!firsts) return std::nullopt;
    SqlRow valueParameters;
    const std::string valueGroup =
        filter_.byStation ? "r.measurement, r.station, v.name" : "r.measurement, v.name";
    const auto values = database.Query(
        "SELECT r.measurement, " + StationColumn("r.") +
            ", v.name, min(v.unit), count(v.value), min(v.value), max(v.value), sum(v.value), "
            "stddev_samp(v.value), count(v.margin), min(v.margin), sum(v.margin), "
            "stddev_samp(v.margin), min(v.position) FROM records r JOIN record_values v ON "
            "v.record_id = r.record_id" +
            Where("r.", valueParameters) + " GROUP BY " + valueGroup,
        valueParameters);
    if (!values) return std::nullopt;

    using Key = std::tuple<std::size_t, std::string, std::string>;  // catalog order, name, station
    std::map<Key, History::Section> sections;
    const auto keyOf = [](const SqlRow& row) {
        const std::string measurement = TextAt(row, 0);
        return Key{CatalogIndex(measurement), measurement, TextAt(row, 1)};
    };
    History history;
    for (const SqlRow& row : *counts) {
        History::Section& section = sections[keyOf(row)];
        section.measurement = TextAt(row, 0);
        section.station = TextAt(row, 1);
        section.runs = CountAt(row, 2);
        section.duts = CountAt(row, 3);
        section.pass = CountAt(row, 4);
        section.fail = CountAt(row, 5);
        section.incomplete = CountAt(row, 6);
        history.records += section.runs;
    }
    for (const SqlRow& row : *firsts) {
        const auto found = sections.find(keyOf(row));
        if (found == sections.end()) continue;
        found->second.firstRunDuts = CountAt(row, 2);
        found->second.firstPassDuts = CountAt(row, 3);
    }
    std::map<Key, std::vector<std::pair<std::int64_t, History::Value>>> ordered;
    for (const SqlRow& row : *values) {
        History::Value value;
        value.name = TextAt(row, 2);
        value.unit = TextAt(row, 3);
        value.count = CountAt(row, 4);
        if (value.count == 0) continue;
        value.min = NumberAt(row, 5).value_or(0);
        value.max = NumberAt(row, 6).value_or(0);
        const double sum = NumberAt(row, 7).value_or(0);
        value.mean = sum / static_cast<double>(value.count);
        value.standardDeviation = NumberAt(row, 8);
        const std::size_t margins = CountAt(row, 9);
        if (margins > 0) {
            value.worstMargin = NumberAt(row, 10);
            const double marginSum = NumberAt(row, 11).value_or(0);
            const auto spread = NumberAt(row, 12);
            if (spread && *spread > 0)
                value.cpk = marginSum / static_cast<double>(margins) / (3 * *spread);
        }
        const auto position = std::get_if<std::int64_t>(&row[13]);
        ordered[keyOf(row)].emplace_back(position ? *position : 0, std::move(value));
    }
    for (auto& [key, list] : ordered) {
        std::stable_sort(list.begin(), list.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        const auto section = sections.find(key);
        if (section == sections.end()) continue;  // a record kept between the queries
        for (auto& entry : list) section->second.values.push_back(std::move(entry.second));
    }
    for (auto& entry : sections) history.sections.push_back(std::move(entry.second));
    return history;
}

}  // namespace kelvane
