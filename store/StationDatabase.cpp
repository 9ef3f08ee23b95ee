#include "store/StationDatabase.h"

namespace kelvane {

StationDatabase::StationDatabase(const std::string& path)
    : path_(path), store_(path, SqliteDatabase::Mode::Create) {}

std::string StationDatabase::Keep(const MeasurementRecord& record) {
    const StoredRecord stored = StoredRecord::Of(record);
    const std::lock_guard lock(mutex_);
    if (store_.Begin() && store_.Insert(stored, false) && store_.Commit()) return {};
    const std::string reason = store_.Database().Error();
    store_.Rollback();
    return "cannot write the " + record.measurement + " record to the database \"" + path_ +
           "\": " + reason + "; nothing of it was kept";
}

}  // namespace kelvane
