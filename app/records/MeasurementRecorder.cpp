#include "app/records/MeasurementRecorder.h"

#include <utility>

#include "results/Judgement.h"

namespace kelvane {

MeasurementRecorder::MeasurementRecorder(Clock& clock, std::string bus, UtcClock utcNow)
    : clock_(clock),
      bus_(std::move(bus)),
      utcNow_(utcNow ? std::move(utcNow) : UtcClock(&std::chrono::system_clock::now)) {}

MeasurementRecord MeasurementRecorder::Run(const CatalogEntry& entry,
                                           MeasurementContext& context) const {
    MeasurementRecord record;
    record.measurement = std::string(entry.name);
    record.started = utcNow_();
    record.bus = bus_;
    record.setup = context.setup;
    record.version = KELVANE_VERSION;
    const auto start = clock_.Now();
    record.result = entry.run(context);
    record.durationS = std::chrono::duration<double>(clock_.Now() - start).count();
    record.judgement = Judge(record.result);
    return record;
}

}  // namespace kelvane
