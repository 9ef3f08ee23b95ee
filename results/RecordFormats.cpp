#include "results/RecordFormats.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <optional>

#include <nlohmann/json.hpp>

#include "results/UtcTime.h"

namespace kelvane {

namespace {

using Json = nlohmann::ordered_json;  // keys in the documented order

std::string_view OutcomeName(MeasurementOutcome outcome) {
    switch (outcome) {
    case MeasurementOutcome::Completed:
        return "completed";
    case MeasurementOutcome::Warning:
        return "warning";
    case MeasurementOutcome::Failed:
        return "failed";
    case MeasurementOutcome::Interrupted:
        return "interrupted";
    }
    return "failed";
}

// UTC, ISO 8601 with milliseconds: "2026-12-09T14:19:50.123Z".
std::string UtcTimeText(std::chrono::system_clock::time_point time) {
    const UtcTime t = UtcTimeOf(time);
    char text[48];
    std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02d.%03dZ", t.year, t.month, t.day,
                  t.hour, t.minute, t.second, t.millisecond);
    return text;
}

// The shortest text that reads back as the same double ("-54.77", "4167031"); a whole number
// below 10^15 without an exponent ("2000000000", not "2e+09"), as a reader of the file expects.
std::string ShortestNumber(double value) {
    char text[64];
    const bool whole = std::abs(value) < 1e15 && value == std::trunc(value);
    const auto [end, error] =
        whole ? std::to_chars(text, text + sizeof text, value, std::chars_format::fixed)
              : std::to_chars(text, text + sizeof text, value);
    return error == std::errc() ? std::string(text, end) : std::string();
}

std::string OptionalNumber(const std::optional<double>& value) {
    return value ? ShortestNumber(*value) : std::string();
}

std::string_view PassFail(bool passed) { return passed ? "pass" : "fail"; }

Json ValueJson(const JudgedValue& judged) {
    const MeasuredValue& measured = judged.measured;
    Json value = {{"name", measured.name}, {"value", measured.value}, {"unit", measured.unit}};
    if (judged.limit) value["limit"] = *judged.limit;
    if (judged.margin) value["margin"] = *judged.margin;
    if (judged.passed) value["verdict"] = PassFail(*judged.passed);
    if (measured.row) {
        const MaskRow& row = *measured.row;
        value["start_hz"] = row.startHz;
        value["stop_hz"] = row.stopHz;
        value["frequency_hz"] = row.frequencyHz;
        value["relative_db"] = row.relativeDb;
        if (row.analyzerPassed) value["analyzer_verdict"] = *row.analyzerPassed ? "PASS" : "FAIL";
    }
    return value;
}

// A name that needs no escaping in JSON (all of the record's keys): saves a serializer per key.
bool IsPlainName(const std::string& key) {
    return std::all_of(key.begin(), key.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
    });
}

// Writes `json` on one line as nlohmann writes it, except for floating-point numbers: nlohmann's
// Grisu2 reads back exactly but gives now and then a digit too many ("-71.25732000000001" for
// -71.25732); std::to_chars gives the shortest form. A number that is not finite is null.
void AppendJson(const Json& json, std::string& out) {
    const auto text = [](const Json& scalar) {
        // Bytes that are no UTF-8 become U+FFFD rather than an exception; control characters
        // are escaped, so the record stays on its line.
        return scalar.dump(-1, ' ', false, Json::error_handler_t::replace);
    };
    switch (json.type()) {
    case Json::value_t::object: {
        out += '{';
        const char* separator = "";
        for (const auto& [key, member] : json.items()) {
            out += separator;
            out += IsPlainName(key) ? '"' + key + '"' : text(Json(key));
            out += ':';
            AppendJson(member, out);
            separator = ",";
        }
        out += '}';
        break;
    }
    case Json::value_t::array: {
        out += '[';
        const char* separator = "";
        for (const Json& element : json) {
            out += separator;
            AppendJson(element, out);
            separator = ",";
        }
        out += ']';
        break;
    }
    case Json::value_t::number_float: {
        const double number = json.get<double>();
        out += std::isfinite(number) ? ShortestNumber(number) : "null";
        break;
    }
    default:
        out += text(json);
    }
}

// RFC 4180: a field holding a comma, a quote, CR or LF goes in quotes, its quotes doubled.
std::string CsvField(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

std::string CsvRow(std::initializer_list<std::string_view> fields) {
    std::string row;
    bool first = true;
    for (std::string_view field : fields) {
        if (!first) row += ',';
        row += CsvField(field);
        first = false;
    }
    return row + "\r\n";
}

}  // namespace

RecordFormat RecordFormatFor(std::string_view fileName) {
    constexpr std::string_view kCsv = ".csv";
    if (fileName.size() < kCsv.size()) return RecordFormat::JsonLines;
    const std::string_view ending = fileName.substr(fileName.size() - kCsv.size());
    const bool csv = std::equal(ending.begin(), ending.end(), kCsv.begin(), [](char a, char b) {
        return (a >= 'A' && a <= 'Z' ? static_cast<char>(a - 'A' + 'a') : a) == b;
    });
    return csv ? RecordFormat::Csv : RecordFormat::JsonLines;
}

std::string RecordJsonLine(const MeasurementRecord& record) {
    const MeasurementResult& result = record.result;
    const Judgement& judgement = record.judgement;
    Json values = Json::array();
    for (const JudgedValue& judged : judgement.values) values.push_back(ValueJson(judged));
    Json json = {
        {"measurement", record.measurement},
        {"title", result.title},
        {"started", UtcTimeText(record.started)},
        {"duration_s", record.durationS},
        {"bus", record.bus},
        {"setup",
         {{"center_hz", result.centerHz},
          {"reference_level_db", record.setup.referenceLevelDbm},
          {"board", record.setup.address.board},
          {"address", record.setup.address.primaryAddress}}},
        {"outcome", OutcomeName(result.outcome)},
        {"message", result.message},
        {"verdict", VerdictName(judgement.verdict)},
        {"worst_margin", nullptr},
        {"margin_unit", nullptr},
        {"kelvane", record.version},
        {"log", result.log},
        {"values", std::move(values)},
    };
    if (judgement.worstMargin) {
        json["worst_margin"] = *judgement.worstMargin;
        json["margin_unit"] = judgement.marginUnit;
    }
    std::string line;
    AppendJson(json, line);
    return line + "\n";
}

std::string CsvHeader() { return "started,measurement,name,value,unit,limit,margin,verdict\r\n"; }

std::string RecordCsvRows(const MeasurementRecord& record) {
    const std::string started = UtcTimeText(record.started);
    std::string rows;
    for (const JudgedValue& judged : record.judgement.values) {
        const std::string verdict = judged.passed ? std::string(PassFail(*judged.passed)) : "";
        rows += CsvRow({started, record.measurement, judged.measured.name,
                        ShortestNumber(judged.measured.value), judged.measured.unit,
                        OptionalNumber(judged.limit), OptionalNumber(judged.margin), verdict});
    }
    rows += CsvRow({started, record.measurement, "verdict", "", "", "",
                    OptionalNumber(record.judgement.worstMargin),
                    VerdictName(record.judgement.verdict)});
    return rows;
}

std::string RecordText(const MeasurementRecord& record, RecordFormat format) {
    return format == RecordFormat::Csv ? RecordCsvRows(record) : RecordJsonLine(record);
}

}  // namespace kelvane
