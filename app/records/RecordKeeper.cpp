#include "app/records/RecordKeeper.h"

#include <utility>

namespace kelvane {

std::string RecordKeeper::Keep(MeasurementRecord record) {
    std::string failure;
    if (results_ != nullptr && !results_->Write(record)) {
        failure = "cannot write the " + record.measurement + " record to the results file \"" +
                  results_->Path() + "\": " + results_->Failure();
    }
    if (!keepLogs_) record.result.log.clear();
    const std::lock_guard lock(mutex_);
    records_.push_back(std::move(record));
    return failure;
}

std::vector<MeasurementRecord> RecordKeeper::Records() const {
    const std::lock_guard lock(mutex_);
    return records_;
}

std::string RecordKeeper::AllRecords(RecordFormat format) const {
    std::string text = format == RecordFormat::Csv ? CsvHeader() : std::string();
    const std::lock_guard lock(mutex_);
    for (const auto& record : records_) text += RecordText(record, format);
    return text;
}

}  // namespace kelvane
