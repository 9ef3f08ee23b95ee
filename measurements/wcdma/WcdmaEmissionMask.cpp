#include "measurements/wcdma/WcdmaEmissionMask.h"

#include <vector>

#include "measurements/EmissionMaskTable.h"
#include "measurements/MeasurementRun.h"
#include "measurements/NumberForms.h"

namespace kelvane {

namespace {

constexpr int kRecordCount = 8;  // two sides of four segments

// The base-station mask for 43 dBm and more, in absolute levels: each segment as the analyzer is
// sent it (the uneven blanks are the texts it has always been sent) and as it limits the rows.
struct SentSegment {
    const char* command;
    MaskSegment segment;
};

const std::vector<SentSegment>& Mask() {
    static const std::vector<SentSegment> mask{
        {"SEMTIN 2.515MZ,2.715MZ, 30KZ, -14DB, -14DB, 0DB, 0DB,ABS", {2.515e6, 2.715e6, -14, -14}},
        {"SEMTIN 2.715MZ,3.515MZ, 30KZ, -14DB, -26DB, 0DB, 0DB,ABS", {2.715e6, 3.515e6, -14, -26}},
        {"SEMTIN 3.515MZ,4.0MZ, 30KZ, -26DB, -26DB, 0DB, 0DB,ABS", {3.515e6, 4.0e6, -26, -26}},
        {"SEMTIN 4.0MZ,8.0MZ, 1MZ, -13DB, -13DB, 0DB, 0DB,ABS", {4.0e6, 8.0e6, -13, -13}},
    };
    return mask;
}

}  // namespace

MeasurementResult WcdmaEmissionMask(MeasurementContext& context, double centerHz,
                                    double referenceLevelDbm) {
    MeasurementRun run(context, "SEM Measurement...", {"SEMON OFF", "CONTS"});
    run.SetCarrier(centerHz, 20e6);
    return run.Execute([&](MeasurementRun& r) {
        r.SendAll({
            "SI",
            "CF " + GeneralNumber(centerHz) + "HZ",
            "RL " + GeneralNumber(referenceLevelDbm) + "DB",
            "AL",
            "DETAA ON",
            "SP 20MZ",
            "SEMCBW 3.84MZ",
            "SEMRFCALC CHN",
            "SEMNQST OFF",
            "SEMTDEL",
        });
        std::vector<MaskSegment> sent;
        for (const auto& [command, segment] : Mask()) {
            r.Send(command);
            sent.push_back(segment);
        }
        r.SetMask(std::move(sent));
        r.SendAll({"SEMON", "TS", "SEM?"});
        LogEmissionMaskTable(r, kRecordCount, false);
        r.SendClosingCommands();
    });
}

}  // namespace kelvane
