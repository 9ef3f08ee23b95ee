#pragma once

#include <mutex>
#include <string>

#include "results/RecordTarget.h"
#include "store/sqlite/SqliteStore.h"

namespace kelvane {

// A station's database (--results FILE.sqlite or FILE.db): each record goes into the SQLite file
// in one transaction, committed to the disk before Keep returns; a record is there whole or not
// at all.
class StationDatabase : public RecordTarget {
public:
    // Opens or makes the file; Problem() says why it cannot be used (SqliteStore::Problem).
    explicit StationDatabase(const std::string& path);

    const std::string& Problem() const { return store_.Problem(); }

    // Empty when kept; else "cannot write the acp record to the database \"s.sqlite\": database
    // or disk is full; nothing of it was kept".
    std::string Keep(const MeasurementRecord& record) override;

private:
    std::string path_;
    std::mutex mutex_;  // one record at a time on the connection
    SqliteStore store_;
};

}  // namespace kelvane
