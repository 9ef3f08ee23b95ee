#include "measurements/wcdma/ChannelPower.h"

#include "measurements/MeasurementRun.h"
#include "measurements/NumberForms.h"
#include "measurements/PowerAnswer.h"
#include "measurements/wcdma/CarrierSweep.h"

namespace kelvane {

namespace {

constexpr double kWcdmaChannelWidthHz = 3840000.0;

}  // namespace

MeasurementResult ChannelPower(MeasurementContext& context, double centerHz,
                               double referenceLevelDbm) {
    MeasurementRun run(context, "CH Power Measurement...", {"PMEASOFF", "PMEASAVGOFF"});
    run.SetCarrier(centerHz, 10e6);
    return run.Execute([&](MeasurementRun& r) {
        r.SendAll(
            CarrierSweepOpening("10e6HZ", centerHz, referenceLevelDbm, "RB 300e3HZ VB 300e3HZ"));
        r.SendAll({
            "DETAA ON",
            "WLX " + GeneralNumber(centerHz) + "HZ",
            "WDX " + GeneralNumber(kWcdmaChannelWidthHz) + "HZ",
            "PWCHON",
            "PMEASAVGONCE ONCE",
            "PWCHTM 10",
            "PMEASAVG ON",
            "CONTS",
        });
        r.WaitForAveragedChannelPower();
        LogPowerAnswer(r, "PWCH?", "channel_power");
    });
}

}  // namespace kelvane
