#include "app/records/RecordKeeper.h"

#include <utility>

namespace kelvane {

std::vector<std::string> RecordKeeper::Keep(MeasurementRecord record) {
    std::vector<std::string> failures;
    for (RecordTarget* target : targets_) {
        if (std::string failure = target->Keep(record); !failure.empty())
            failures.push_back(std::move(failure));
    }
    if (!keepLogs_) record.result.log.clear();
    const std::lock_guard lock(mutex_);
    records_.push_back(std::move(record));
    return failures;
}

std::vector<std::string> RecordKeeper::Notices() const {
    std::vector<std::string> notices;
    for (const RecordTarget* target : targets_) {
        if (std::string notice = target->Notice(); !notice.empty())
            notices.push_back(std::move(notice));
    }
    return notices;
}

std::vector<MeasurementRecord> RecordKeeper::Records() const {
    const std::lock_guard lock(mutex_);
    return records_;
}

}  // namespace kelvane
