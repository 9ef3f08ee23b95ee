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
    MeasurementRecord record = Start(entry, context.setup);
    Complete(record, entry, context);
    return record;
}

MeasurementRecord MeasurementRecorder::Start(const CatalogEntry& entry,
                                             const MeasurementSetup& setup) const {
    MeasurementRecord record;
    record.measurement = std::string(entry.name);
    record.started = utcNow_();
    record.bus = bus_;
    record.setup = setup;
    record.version = KELVANE_VERSION;
    return record;
}

void MeasurementRecorder::Complete(MeasurementRecord& record, const CatalogEntry& entry,
                                   MeasurementContext& context) const {
    const auto start = clock_.Now();
    const auto secondsSinceStart = [&] {
        return std::chrono::duration<double>(clock_.Now() - start).count();
    };
    try {
        record.result = entry.run(context);
    } catch (...) {
        record.durationS = secondsSinceStart();
        throw;
    }
    record.durationS = secondsSinceStart();
    record.judgement = Judge(record.result, record.setup);
}

}  // namespace kelvane
