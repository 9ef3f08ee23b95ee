#include "app/bus/SetupFollower.h"

#include "app/SetupText.h"

namespace kelvane {

SimulatedBench BenchFor(const MeasurementSetup& setup) {
    return {setup.wcdmaCenterHz, setup.wlan11aCenterHz, setup.wlan11bCenterHz, setup.address.board,
            setup.address.primaryAddress};
}

SetupFollower::SetupFollower(const MeasurementSetup& setup, TraceLog* trace)
    : setup_(setup), trace_(trace), bench_(BenchFor(setup)) {
    if (trace_ != nullptr) trace_->Line("# set-up: " + SetupDescription(setup_));
}

void SetupFollower::Follow(const MeasurementSetup& setup) {
    if (setup == setup_) return;
    setup_ = setup;
    bench_ = BenchFor(setup);
    if (trace_ != nullptr) trace_->Line("# set-up changed: " + SetupDescription(setup_));
}

}  // namespace kelvane
