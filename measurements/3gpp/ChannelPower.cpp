#include "measurements/3gpp/ChannelPower.h"

#include "bus/AnalyzerSession.h"
#include "bus/NumberForms.h"
#include "measurements/MeasurementRun.h"
#include "measurements/ReplyCheck.h"

namespace kelvane {

namespace {

constexpr std::size_t kReplyBufferLength = 50;
constexpr double kWcdmaChannelWidthHz = 3840000.0;

}  // namespace

MeasurementOutcome ChannelPower(MeasurementContext& context, const double& measF,
                                const double& measRef) {
    MeasurementRun run(context, "CH Power Measurement...", {"PMEASOFF", "PMEASAVGOFF"});
    return run.Execute([&](MeasurementRun& r) {
        std::string reply = NulBuffer(kReplyBufferLength);
        r.SendAll({
            "SI",
            "SP 10e6HZ",
            "CF " + GeneralNumber(measF) + "HZ",
            "RL " + GeneralNumber(measRef) + "DB",
            "RB 300e3HZ VB 300e3HZ",
            "AS",
            "DETAA ON",
            "WLX " + GeneralNumber(measF) + "HZ",
            "WDX " + GeneralNumber(kWcdmaChannelWidthHz) + "HZ",
            "PWCHON",
            "PMEASAVGONCE ONCE",
            "PWCHTM 10",
            "PMEASAVG ON",
            "CONTS",
        });
        r.WaitOpr16();
        r.Send("PWCH?");
        const int bytesRead = r.Read(reply);
        // A power the analyzer never reported must not show as 0 dBm.
        const std::string name = "\"PWCH?\" answer";
        const double powerDbm = LeadingNumberReply(reply, bytesRead, name);
        r.SendClosingCommands();
        r.AppendResult("ChPower = " + PatternNumber(powerDbm, "###0.00") + "dBm\r\n");
    });
}

}  // namespace kelvane
