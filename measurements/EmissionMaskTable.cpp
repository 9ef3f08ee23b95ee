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
        const double startMHz = MHzField(fields, 1, name);
        const double stopMHz = MHzField(fields, 2, name);
        const double foundMHz = MHzField(fields, 3, name);
        const double absoluteDbm = NumberField(fields, 4, name);
        const double relativeDb = NumberField(fields, 5, name);
        std::string line = Shown(startMHz) + "MHz---" + Shown(stopMHz) + "MHz, " + Shown(foundMHz) +
                           "MHz, " + Shown(absoluteDbm) + "dBm, " + Shown(relativeDb) + "dB";
        if (withVerdict) line += ",  P/F = " + VerdictField(fields, 6, name);
        run.AppendResult(line + "\r\n");
    }
}

}  // namespace kelvane
