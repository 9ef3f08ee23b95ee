#include "results/RecordCsv.h"

#include <initializer_list>
#include <string_view>

#include "results/RecordFields.h"

namespace kelvane {

namespace {

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

}  // namespace

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

std::string CsvHeader() {
    return "started,run_id,dut,measurement,name,value,unit,limit,margin,verdict,analyzer_value,"
           "frequency_hz,start_hz,stop_hz,message\r\n";
}

std::string RecordCsvRows(const MeasurementRecord& record) {
    const std::string started = UtcTimeText(record.started);
    const std::string& runId = record.runId;
    const std::string& dut = record.origin.dut;
    std::string rows;
    for (const JudgedValue& judged : record.judgement.values) {
        const MeasuredValue& measured = judged.measured;
        const std::string verdict = judged.passed ? std::string(PassFail(*judged.passed)) : "";
        std::string frequency, start, stop;
        if (measured.row) {
            frequency = ShortestNumber(measured.row->frequencyHz);
            start = ShortestNumber(measured.row->startHz);
            stop = ShortestNumber(measured.row->stopHz);
        }
        rows += CsvRow({started, runId, dut, record.measurement, measured.name,
                        ShortestNumber(judged.value), measured.unit, OptionalNumber(judged.limit),
                        OptionalNumber(judged.margin), verdict, ShortestNumber(measured.value),
                        frequency, start, stop, ""});
    }
    const Judgement& judgement = record.judgement;
    rows += CsvRow({started, runId, dut, record.measurement, "verdict", "", judgement.marginUnit,
                    "", OptionalNumber(judgement.worstMargin), VerdictName(judgement.verdict), "",
                    "", "", "", record.result.message});
    return rows;
}

}  // namespace kelvane
