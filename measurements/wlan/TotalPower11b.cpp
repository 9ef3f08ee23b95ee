#include "measurements/wlan/TotalPower11b.h"

#include "bus/AnalyzerSession.h"
#include "bus/NumberForms.h"
#include "measurements/MeasurementRun.h"
#include "measurements/ReplyCheck.h"

namespace kelvane {

namespace {

constexpr std::size_t kReplyBufferLength = 50;
constexpr double kCenterHz = 2412000000.0;
constexpr double kReferenceLevelDb = 0.0;

}  // namespace

MeasurementOutcome TotalPower11b(MeasurementContext& context) {
    // The title and the result label are those of the channel power measurement.
    MeasurementRun run(context, "CH Power Measurement...", {"PMEASOFF", "PMEASAVGOFF", "CONTS"});
    return run.Execute([&](MeasurementRun& r) {
        std::string reply = NulBuffer(kReplyBufferLength);
        r.SendAll({
            "SI",
            "SP 40MZ",
            "CF " + GeneralNumber(kCenterHz) + "HZ",
            "RL " + GeneralNumber(kReferenceLevelDb) + "DB",
            "RB 300KZ; VB 300KZ",
            "SW 1SC",
            "DETAA ON",
            "PWTOTALON",
            "TS",
            "PWTOTAL?",
        });
        // A power the analyzer never reported must not show as 0 dBm.
        const std::string name = "\"PWTOTAL?\" answer";
        const int bytesRead = r.Read(reply);
        const double powerDbm = LeadingNumberReply(reply, bytesRead, name);
        r.SendClosingCommands();
        r.AppendResult("ChPower = " + PatternNumber(powerDbm, "###0.00") + "dBm\r\n");
    });
}

}  // namespace kelvane
