#include "measurements/wcdma/OccupiedBandwidth.h"

#include "analyzer/AnalyzerSession.h"
#include "measurements/MeasurementRun.h"
#include "measurements/NumberForms.h"
#include "measurements/ReplyCheck.h"
#include "measurements/wcdma/CarrierSweep.h"

namespace kelvane {

namespace {

constexpr std::size_t kReplyBufferLength = 50;

}  // namespace

MeasurementResult OccupiedBandwidth(MeasurementContext& context, double centerHz,
                                    double referenceLevelDbm) {
    MeasurementRun run(context, "OBW Measurement...", {"OBWON OFF", "AGS"});
    run.SetCarrier(centerHz, 10e6);
    return run.Execute([&](MeasurementRun& r) {
        std::string reply = NulBuffer(kReplyBufferLength);
        r.SendAll(
            CarrierSweepOpening("10e6HZ", centerHz, referenceLevelDbm, "RB 30e3HZ; VB 30e3HZ"));
        r.SendAll({"DET POS", "OBWPER 99", "OBWON"});
        r.SendAll(TenSweepsAveraged());
        r.WaitForAveragedSweeps();
        r.Send("OBW?");
        const std::string name = "\"OBW?\" answer";
        const int bytesRead = r.Read(reply, name);
        // The analyzer is set back before the answer is looked at.
        r.SendClosingCommands();

        const auto fields = ReplyFields(reply, bytesRead, 2, name);
        const double bandCenterHz = NumberField(fields, 0, name);
        const double bandwidthHz = NumberField(fields, 1, name);
        r.Record({"occupied_bandwidth", bandwidthHz, "Hz", {}});
        r.AppendResult("OBW = " + PatternNumber(bandwidthHz / kHzPerMHz, "###0.000") + "MHz\r\n");
        r.Record({"occupied_band_center", bandCenterHz, "Hz", {}});
        r.AppendResult("OBW CF = " + PatternNumber(bandCenterHz / kHzPerMHz, "###0.000") +
                       "MHz\r\n");
    });
}

}  // namespace kelvane
