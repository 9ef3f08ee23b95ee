#include "measurements/wcdma/WcdmaEmissionMask.h"

#include "measurements/EmissionMaskTable.h"
#include "measurements/MeasurementRun.h"
#include "measurements/NumberForms.h"

namespace kelvane {

namespace {

constexpr int kRecordCount = 8;  // two sides of four segments

}  // namespace

MeasurementOutcome WcdmaEmissionMask(MeasurementContext& context, double centerHz,
                                     double referenceLevelDb) {
    MeasurementRun run(context, "SEM Measurement...", {"SEMON OFF", "CONTS"});
    return run.Execute([&](MeasurementRun& r) {
        r.SendAll({
            "SI",
            "CF " + GeneralNumber(centerHz) + "HZ",
            "RL " + GeneralNumber(referenceLevelDb) + "DB",
            "AL",
            "DETAA ON",
            "SP 20MZ",
            "SEMCBW 3.84MZ",
            "SEMRFCALC CHN",
            "SEMNQST OFF",
            "SEMTDEL",
            // The base-station mask for 43 dBm and more, in absolute levels; the uneven blanks
            // are the texts the analyzer has always been sent.
            "SEMTIN 2.515MZ,2.715MZ, 30KZ, -14DB, -14DB, 0DB, 0DB,ABS",
            "SEMTIN 2.715MZ,3.515MZ, 30KZ, -14DB, -26DB, 0DB, 0DB,ABS",
            "SEMTIN 3.515MZ,4.0MZ, 30KZ, -26DB, -26DB, 0DB, 0DB,ABS",
            "SEMTIN 4.0MZ,8.0MZ, 1MZ, -13DB, -13DB, 0DB, 0DB,ABS",
            "SEMON",
            "TS",
            "SEM?",
        });
        LogEmissionMaskTable(r, kRecordCount, false);
        r.SendClosingCommands();
    });
}

}  // namespace kelvane
