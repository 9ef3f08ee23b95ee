#include "results/RecordJson.h"

#include <algorithm>
#include <cmath>

#include <nlohmann/json.hpp>

#include "results/RecordFields.h"

namespace kelvane {

namespace {

using Json = nlohmann::ordered_json;  // keys in the documented order

Json ValueJson(const JudgedValue& judged, bool behindPathLoss) {
    const MeasuredValue& measured = judged.measured;
    Json value = {{"name", measured.name}, {"value", judged.value}, {"unit", measured.unit}};
    if (behindPathLoss && measured.unit == "dBm") value["analyzer_value"] = measured.value;
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

Json SetupJson(const MeasurementRecord& record) {
    const MeasurementSetup& setup = record.setup;
    Json json = {{"center_hz", record.result.centerHz},
                 {"reference_level_dbm", setup.referenceLevelDbm},
                 {"board", setup.address.board},
                 {"address", setup.address.primaryAddress}};
    if (setup.pathLoss.IsTable()) {
        json["path_loss_table"] = setup.pathLoss.File();
    } else if (!setup.pathLoss.IsNone()) {
        json["path_loss_db"] = setup.pathLoss.FixedDb();
    }
    if (setup.bsPowerDbm) json["bs_power_dbm"] = *setup.bsPowerDbm;
    return json;
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

}  // namespace

std::string RecordJsonLine(const MeasurementRecord& record) {
    const MeasurementResult& result = record.result;
    const Judgement& judgement = record.judgement;
    const bool behindPathLoss = !record.setup.pathLoss.IsNone();
    Json values = Json::array();
    for (const JudgedValue& judged : judgement.values)
        values.push_back(ValueJson(judged, behindPathLoss));
    Json json = {
        {"measurement", record.measurement},
        {"title", result.title},
        {"started", UtcTimeText(record.started)},
        {"duration_s", record.durationS},
        {"bus", record.bus},
        {"setup", SetupJson(record)},
        {"outcome", OutcomeName(result.outcome)},
        {"message", result.message},
        {"verdict", VerdictName(judgement.verdict)},
        {"worst_margin", nullptr},
        {"margin_unit", nullptr},
    };
    if (judgement.worstMargin) {
        json["worst_margin"] = *judgement.worstMargin;
        json["margin_unit"] = judgement.marginUnit;
    }
    if (judgement.maskLimits != MaskLimits::None)
        json["limit_set"] = MaskLimitsName(judgement.maskLimits);
    json["kelvane"] = record.version;
    json["dut"] = record.origin.dut;
    json["operator"] = record.origin.operatorName;
    json["station"] = record.origin.station;
    json["run_id"] = record.runId;
    json["record_id"] = record.recordId;
    json["log"] = result.log;
    json["values"] = std::move(values);
    std::string line;
    AppendJson(json, line);
    return line + "\n";
}

}  // namespace kelvane
