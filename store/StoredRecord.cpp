#include "store/StoredRecord.h"

#include <algorithm>
#include <cmath>

#include <nlohmann/json.hpp>

#include "results/RecordFields.h"

namespace kelvane {

namespace {

using Json = nlohmann::ordered_json;

// Valid UTF-8 without NUL bytes: nlohmann's replacing serializer checks the bytes, and the
// string's quotes and escapes are undone by reading it back.
std::string Clean(const std::string& text) {
    const bool plain = std::all_of(text.begin(), text.end(), [](char c) {
        return c != '\0' && static_cast<unsigned char>(c) < 0x80;
    });
    if (plain) return text;
    std::string valid = Json::parse(Json(text).dump(-1, ' ', false, Json::error_handler_t::replace))
                            .get<std::string>();
    std::string out;
    for (char c : valid) {
        if (c == '\0') {
            out += "\xEF\xBF\xBD";
        } else {
            out += c;
        }
    }
    return out;
}

SqlValue Text(const std::string& text) { return Clean(text); }

SqlValue Number(double value) {
    return std::isfinite(value) ? SqlValue(value) : SqlValue(std::monostate());
}

SqlValue Number(const std::optional<double>& value) {
    return value ? Number(*value) : SqlValue(std::monostate());
}

// The bench's set-up as a JSON object, numbers in their shortest form.
std::string SetupText(const MeasurementSetup& setup) {
    std::string text = "{\"wcdma_center_hz\":" + ShortestNumber(setup.wcdmaCenterHz) +
                       ",\"wlan_11a_center_hz\":" + ShortestNumber(setup.wlan11aCenterHz) +
                       ",\"wlan_11b_center_hz\":" + ShortestNumber(setup.wlan11bCenterHz) +
                       ",\"reference_level_dbm\":" + ShortestNumber(setup.referenceLevelDbm) +
                       ",\"board\":" + std::to_string(setup.address.board) +
                       ",\"address\":" + std::to_string(setup.address.primaryAddress);
    if (setup.pathLoss.IsTable()) {
        text += ",\"path_loss_table\":" +
                Json(setup.pathLoss.File()).dump(-1, ' ', false, Json::error_handler_t::replace);
    } else if (!setup.pathLoss.IsNone()) {
        text += ",\"path_loss_db\":" + ShortestNumber(setup.pathLoss.FixedDb());
    }
    if (setup.bsPowerDbm) text += ",\"bs_power_dbm\":" + ShortestNumber(*setup.bsPowerDbm);
    return text + "}";
}

SqlRow ValueRow(const MeasurementRecord& record, const JudgedValue& judged, std::size_t position) {
    const MeasuredValue& measured = judged.measured;
    const std::optional<MaskRow>& row = measured.row;
    const auto rowNumber = [&row](double MaskRow::*field) {
        return row ? Number((*row).*field) : SqlValue(std::monostate());
    };
    SqlValue verdict;
    if (judged.passed) verdict = std::string(PassFail(*judged.passed));
    SqlValue analyzerVerdict;
    if (row && row->analyzerPassed)
        analyzerVerdict = std::string(*row->analyzerPassed ? "PASS" : "FAIL");
    return {Text(record.recordId),
            static_cast<std::int64_t>(position),
            Text(measured.name),
            Number(judged.value),
            Number(measured.value),
            Text(measured.unit),
            Number(judged.limit),
            Number(judged.margin),
            verdict,
            rowNumber(&MaskRow::frequencyHz),
            rowNumber(&MaskRow::startHz),
            rowNumber(&MaskRow::stopHz),
            rowNumber(&MaskRow::relativeDb),
            analyzerVerdict};
}

}  // namespace

StoredRecord StoredRecord::Of(const MeasurementRecord& record) {
    StoredRecord stored;
    stored.recordId = Clean(record.recordId);
    stored.runId = Clean(record.runId);
    const std::string setup = SetupText(record.setup);
    const std::string started = UtcTimeText(record.started);
    const RecordOrigin& origin = record.origin;
    stored.run = {stored.runId,
                  Text(origin.station),
                  Text(origin.operatorName),
                  Text(origin.dut),
                  setup,
                  Text(record.version),
                  started};
    const Judgement& judgement = record.judgement;
    SqlValue marginUnit;
    if (judgement.worstMargin) marginUnit = Clean(judgement.marginUnit);
    SqlValue limitSet;
    if (judgement.maskLimits != MaskLimits::None)
        limitSet = std::string(MaskLimitsName(judgement.maskLimits));
    const MeasurementResult& result = record.result;
    stored.record = {stored.recordId,
                     stored.runId,
                     Text(record.measurement),
                     Text(result.title),
                     started,
                     Number(record.durationS),
                     Text(record.bus),
                     Text(origin.station),
                     Text(origin.operatorName),
                     Text(origin.dut),
                     setup,
                     Number(result.centerHz),
                     std::string(OutcomeName(result.outcome)),
                     Text(result.message),
                     std::string(VerdictName(judgement.verdict)),
                     Number(judgement.worstMargin),
                     marginUnit,
                     limitSet,
                     Text(record.version),
                     Text(result.log)};
    for (std::size_t i = 0; i < judgement.values.size(); ++i)
        stored.values.push_back(ValueRow(record, judgement.values[i], i));
    return stored;
}

}  // namespace kelvane
