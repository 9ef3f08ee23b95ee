#include "measurements/EmissionMaskTable.h"

#include <string>

#include "analyzer/AnalyzerSession.h"
#include "measurements/NumberForms.h"
#include "measurements/ReplyCheck.h"

namespace kelvane {

namespace {

constexpr std::size_t kRecordBufferLength = 200;
constexpr const char* kHeader = " START F      STOP F       FREQ.      ABS LEV   REL LEV\r\n";

std::string Shown(double value) { return PatternNumber(value, "#0.00"); }

}  // namespace

void LogEmissionMaskTable(MeasurementRun& run, int recordCount, bool withVerdict) {
    run.AppendResult(kHeader);
    const std::size_t minFields = withVerdict ? 7 : 6;
    for (int record = 0; record < recordCount; ++record) {
        const std::string name =
            "\"SEM?\" record " + std::to_string(record + 1) + " of " + std::to_string(recordCount);
        std::string buffer = BlankBuffer(kRecordBufferLength);
        const int bytesRead = run.Read(buffer, name);
        const auto fields = ReplyFields(buffer, bytesRead, minFields, name);
        MaskRow row;
        row.startHz = NumberField(fields, 1, name);
        row.stopHz = NumberField(fields, 2, name);
        row.frequencyHz = NumberField(fields, 3, name);
        row.levelDbm = NumberField(fields, 4, name);
        row.relativeDb = NumberField(fields, 5, name);
        std::string line = Shown(row.startHz / kHzPerMHz) + "MHz---" +
                           Shown(row.stopHz / kHzPerMHz) + "MHz, " +
                           Shown(row.frequencyHz / kHzPerMHz) + "MHz, " + Shown(row.levelDbm) +
                           "dBm, " + Shown(row.relativeDb) + "dB";
        if (withVerdict) {
            const std::string verdict = VerdictField(fields, 6, name);
            row.analyzerPassed = verdict == "PASS";
            line += ",  P/F = " + verdict;
        }
        run.Record({"row_" + std::to_string(record + 1), row.levelDbm, "dBm", row});
        run.AppendResult(line + "\r\n");
    }
}

}  // namespace kelvane
