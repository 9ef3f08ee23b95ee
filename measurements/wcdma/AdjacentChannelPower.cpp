#include "measurements/wcdma/AdjacentChannelPower.h"

#include <array>

#include "analyzer/AnalyzerSession.h"
#include "measurements/MeasurementRun.h"
#include "measurements/NumberForms.h"
#include "measurements/ReplyCheck.h"
#include "measurements/wcdma/CarrierSweep.h"

namespace kelvane {

namespace {

constexpr std::size_t kReplyBufferLength = 100;

// One channel pair: "<label><lower MHz>MHz <lower dB>dB : <upper MHz>MHz <upper dB>dB", its two
// powers recorded as "acp_lower_<offset>" and "acp_upper_<offset>". The answer holds lower
// frequency (Hz), lower power (dB), upper frequency, upper power.
void LogChannelPair(MeasurementRun& run, const std::string& label, const std::string& offset,
                    const std::string& answer, int bytesRead, const std::string& name) {
    const auto fields = ReplyFields(answer, bytesRead, 4, name);
    const auto shown = [](double value) { return PatternNumber(value, "#0.00"); };
    const double lowerHz = NumberField(fields, 0, name);
    const double lowerDb = NumberField(fields, 1, name);
    const double upperHz = NumberField(fields, 2, name);
    const double upperDb = NumberField(fields, 3, name);
    run.Record({"acp_lower_" + offset, lowerDb, "dB", {}, lowerHz});
    run.Record({"acp_upper_" + offset, upperDb, "dB", {}, upperHz});
    run.AppendResult(label + shown(lowerHz / kHzPerMHz) + "MHz " + shown(lowerDb) +
                     "dB : " + shown(upperHz / kHzPerMHz) + "MHz " + shown(upperDb) + "dB\r\n");
}

std::string OffsetAnswerName(std::size_t index) {
    return "\"ACP?\" answer " + std::to_string(index);
}

}  // namespace

MeasurementResult AdjacentChannelPower(MeasurementContext& context, double centerHz,
                                       double referenceLevelDbm) {
    MeasurementRun run(context, "ACP Measurement...", {"DETAA ON", "AGS", "ACP OFF"});
    run.SetCarrier(centerHz, 25e6);
    return run.Execute([&](MeasurementRun& r) {
        // Answer 0 comes first and is not used; 1 is the 5 MHz pair, 2 the 10 MHz pair.
        std::array<std::string, 3> offsetAnswers;
        std::array<int, 3> offsetBytes{};
        for (auto& answer : offsetAnswers) answer = NulBuffer(kReplyBufferLength);
        std::string carrierAnswer = NulBuffer(kReplyBufferLength);

        r.SendAll(
            CarrierSweepOpening("25e6HZ", centerHz, referenceLevelDbm, "RB 30e3HZ; VB 30e3HZ"));
        r.SendAll({
            "ACPSCR CARR",
            "CARRBS 3.84MZ",
            "CSBSDEL",
            "CSBSIN 5MZ,3.84MZ",
            "CSBSIN 10MZ,3.84MZ",
            "DETAA ON",
            "ACP",
        });
        r.SendAll(TenSweepsAveraged());
        r.WaitForAveragedSweeps();
        r.Send("ACP?");
        for (std::size_t i = 0; i < offsetAnswers.size(); ++i)
            offsetBytes[i] = r.Read(offsetAnswers[i], OffsetAnswerName(i));
        r.SendAll({"MO", "ACPREF?"});
        const std::string carrierName = "\"ACPREF?\" answer";
        const int carrierBytes = r.Read(carrierAnswer, carrierName);
        // The analyzer is set back before any answer is looked at.
        r.SendClosingCommands();

        LogChannelPair(r, "ACP ( -5M, +5M) = ", "5mhz", offsetAnswers[1], offsetBytes[1],
                       OffsetAnswerName(1));
        LogChannelPair(r, "ACP (-10M,+10M) = ", "10mhz", offsetAnswers[2], offsetBytes[2],
                       OffsetAnswerName(2));
        const double carrierDbm = NumberReply(carrierAnswer, carrierBytes, carrierName);
        r.Record({"carrier_power", carrierDbm, "dBm", {}});
        r.AppendResult("ACP (Carr pow.) = " + PatternNumber(carrierDbm, "##0.00") + "dBm\r\n");
    });
}

}  // namespace kelvane
