#include "measurements/wlan/WlanEmissionMask.h"

#include <string>
#include <vector>

#include "analyzer/AnalyzerSession.h"
#include "measurements/EmissionMaskTable.h"
#include "measurements/MeasurementRun.h"
#include "measurements/NumberForms.h"
#include "measurements/ReplyCheck.h"

namespace kelvane {

namespace {

constexpr std::size_t kLevelBufferLength = 50;
constexpr double kPeakRaiseDb = 2.0;

// One mask segment: a 25-character prefix (offsets and bandwidth), the offsets it names, and
// the indices of its start and stop levels in MaskValues::levelOffsetsDb.
struct LimitSegment {
    const char* prefix;
    double startOffsetHz;
    double stopOffsetHz;
    std::size_t startLevel;
    std::size_t stopLevel;
};

// What tells the 802.11a mask from the 802.11b one.
struct MaskValues {
    const char* sweepCommand;
    // Mask levels below the raised peak, the first one 0; each level is the raised peak plus
    // its offset.
    std::vector<double> levelOffsetsDb;
    std::vector<LimitSegment> segments;
    const char* referenceCalculation;
};

MaskValues Values11a() {
    return {"RB 100KZ; VB 30KZ; SW 500MS",
            {0.0, -20.0, -28.0, -40.0},
            {{"SEMTIN  0MZ,  9MZ, 100KZ,", 0, 9e6, 0, 0},
             {"SEMTIN  9MZ, 11MZ, 100KZ,", 9e6, 11e6, 0, 1},
             {"SEMTIN 11MZ, 20MZ, 100KZ,", 11e6, 20e6, 1, 2},
             {"SEMTIN 20MZ, 30MZ, 100KZ,", 20e6, 30e6, 2, 3},
             {"SEMTIN 30MZ, 39MZ, 100KZ,", 30e6, 39e6, 3, 3}},
            "SEMRFCALC PEAK"};
}

// The 802.11b limit falls in steps: each segment has one level from start to stop.
MaskValues Values11b() {
    return {"RB 100KZ; VB 100KZ; SW 1SC",
            {0.0, -30.0, -50.0},
            {{"SEMTIN  0MZ, 11MZ, 100KZ,", 0, 11e6, 0, 0},
             {"SEMTIN 11MZ, 22MZ, 100KZ,", 11e6, 22e6, 1, 1},
             {"SEMTIN 22MZ, 39MZ, 100KZ,", 22e6, 39e6, 2, 2}},
            "SEMRPFCALC PEAK"};
}

// The analyzer answers one record per segment and side.
int RecordCount(const MaskValues& values) { return 2 * static_cast<int>(values.segments.size()); }

// Reads the peak level, builds the mask on it, and logs the analyzer's verdict per record.
MeasurementResult RunMask(MeasurementContext& context, double centerHz, const MaskValues& values) {
    MeasurementRun run(context, "SEM Measurement...", {"SEMON OFF", "CONTS"});
    run.SetCarrier(centerHz, 80e6);
    return run.Execute([&](MeasurementRun& r) {
        r.SendAll({
            "SI",
            "CF " + GeneralNumber(centerHz) + "HZ",
            "SP 80MZ",
            "RL " + GeneralNumber(context.setup.referenceLevelDbm) + "DB",
            values.sweepCommand,
            "DET POS",
            "TS",
            "PS",
            "ML?",
        });
        std::string levelReply = BlankBuffer(kLevelBufferLength);
        const std::string name = "\"ML?\" answer";
        const int bytesRead = r.Read(levelReply, name);
        const double peakLevelDb = NumberReply(levelReply, bytesRead, name);

        const double raisedPeakDb = peakLevelDb + kPeakRaiseDb;
        std::vector<double> levelsDb;
        for (double offsetDb : values.levelOffsetsDb) levelsDb.push_back(raisedPeakDb + offsetDb);

        r.Send("SEMTDEL");
        std::vector<MaskSegment> sent;
        for (const auto& segment : values.segments) {
            const double startDbm = levelsDb[segment.startLevel];
            const double stopDbm = levelsDb[segment.stopLevel];
            r.Send(std::string(segment.prefix) + GeneralNumber(startDbm) + "DB," +
                   GeneralNumber(stopDbm) + "DB," + "0DB, 0DB, ABS");
            sent.push_back({segment.startOffsetHz, segment.stopOffsetHz, startDbm, stopDbm});
        }
        r.SetMask(std::move(sent), true);
        r.SendAll({
            "SEMCBW 16.6MZ",
            values.referenceCalculation,
            "SEMNQST OFF",
            "PMEASAVG OFF",
            "SEMON",
            "TS",
            "SEM?",
        });
        LogEmissionMaskTable(r, RecordCount(values), true);
        r.SendClosingCommands();
    });
}

}  // namespace

MeasurementResult WlanEmissionMask11a(MeasurementContext& context) {
    return RunMask(context, context.setup.wlan11aCenterHz, Values11a());
}

MeasurementResult WlanEmissionMask11b(MeasurementContext& context) {
    return RunMask(context, context.setup.wlan11bCenterHz, Values11b());
}

}  // namespace kelvane
