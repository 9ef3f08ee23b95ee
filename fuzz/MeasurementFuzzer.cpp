// Each of the seven measurements against a driver and an analyzer played by the fuzz input:
// registration results, ibdev failures, refused writes, time-outs, well-formed and raw answers.
// Every run must keep the session frame, the measurement's command vocabulary and a log made of
// well-formed lines (RunCheck.h), whatever happened on the bus.
//
// Input: byte 0 picks the measurement in catalog order, byte 1 = 0xFF makes the driver library
// missing; the rest is read by the driver call by call (FuzzGpibDriver). KELVANE_FUZZ_TRACE=1
// prints each run's driver calls and log.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "bus/AnalyzerSession.h"
#include "bus/EventPump.h"
#include "bus/GpibBinding.h"
#include "bus/GpibRegistrationFailure.h"
#include "bus/VirtualClock.h"
#include "fuzz/FuzzGpibDriver.h"
#include "fuzz/FuzzInput.h"
#include "fuzz/MeasurementRules.h"
#include "fuzz/RecordingLog.h"
#include "fuzz/RunCheck.h"
#include "fuzz/RunTrace.h"
#include "measurements/MeasurementCatalog.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kelvane;
    using namespace kelvane::fuzz;

    FuzzInput input(data, size);
    const auto& catalog = MeasurementCatalog();
    const CatalogEntry& measurement = catalog[input.Byte() % catalog.size()];

    RunRecord run;
    run.driverMissing = input.Byte() == 0xFF;
    VirtualClock clock;
    GpibBinding binding(
        [&]() -> DriverLoad {
            if (run.driverMissing) return {nullptr, "libgpib.so.0: cannot open shared object file"};
            return {std::make_unique<FuzzGpibDriver>(input, clock, run.calls), ""};
        },
        [&](const std::string& message) { run.messages.push_back(message); });
    AnalyzerSession session(binding);
    RecordingLog log(run.calls, run.appends);
    NoEventPump events;
    MeasurementContext context{session, log, clock, events};

    try {
        run.outcome = measurement.run(context);
    } catch (const GpibRegistrationFailure&) {
        run.registrationFailed = true;
    }
    if (std::getenv("KELVANE_FUZZ_TRACE") != nullptr) std::fputs(RunTrace(run).c_str(), stderr);
    CheckRun(RulesFor(measurement.name), run);
    return 0;
}
