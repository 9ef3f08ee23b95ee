#include "measurements/wlan/TotalPower11b.h"

#include "measurements/MeasurementRun.h"
#include "measurements/NumberForms.h"
#include "measurements/PowerAnswer.h"

namespace kelvane {

MeasurementResult TotalPower11b(MeasurementContext& context) {
    // The title and the result label are those of the channel power measurement.
    MeasurementRun run(context, "CH Power Measurement...", {"PMEASOFF", "PMEASAVGOFF", "CONTS"});
    run.SetCarrier(context.setup.wlan11bCenterHz, 40e6);
    return run.Execute([&](MeasurementRun& r) {
        r.SendAll({
            "SI",
            "SP 40MZ",
            "CF " + GeneralNumber(context.setup.wlan11bCenterHz) + "HZ",
            "RL " + GeneralNumber(context.setup.referenceLevelDbm) + "DB",
            "RB 300KZ; VB 300KZ",
            "SW 1SC",
            "DETAA ON",
            "PWTOTALON",
            "TS",
        });
        LogPowerAnswer(r, "PWTOTAL?", "total_power");
    });
}

}  // namespace kelvane
