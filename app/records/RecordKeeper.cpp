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
    records_.push_back(std::move(record));
    return failure;
}

std::string RecordKeeper::AllRecords(RecordFormat format) const {
    std::string text = format == RecordFormat::Csv ? CsvHeader() : std::string();
    for (const auto& record : records_) text += RecordText(record, format);
    return text;
}

}  // namespace kelvane
