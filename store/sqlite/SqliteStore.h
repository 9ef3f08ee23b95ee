#pragma once

#include <optional>
#include <string>

#include "store/StoredRecord.h"
#include "store/sqlite/SqliteDatabase.h"

namespace kelvane {

// Kelvane's tables (StoreLayout) in an SQLite file: a station's database or the journal. Opening
// makes the tables in a new (or empty) file and checks the layout's version in an old one; the
// file is written in WAL mode with every commit synced to the disk, and several Kelvanes may
// write to it at once (each waits for the other's transaction).
class SqliteStore {
public:
    // Opens the file (with Create: made when it is not there) and makes it ready; Problem() says
    // what stands in the way.
    SqliteStore(const std::string& path, SqliteDatabase::Mode mode);

    bool IsReady() const { return problem_.empty(); }
    // Why the file cannot be used, to follow its name: "is not an SQLite database (file is not a
    // database)", "has layout 2, newer than this Kelvane's 1; ...", "holds another program's
    // tables; ...", "lies on a network file system (nfs) ..."; empty when ready.
    const std::string& Problem() const { return problem_; }
    SqliteDatabase& Database() { return database_; }

    // A write transaction, taken at once (BEGIN IMMEDIATE), so that two writers wait for each
    // other rather than fail half-way.
    bool Begin();
    bool Commit();
    void Rollback();
    // Inserts the record's rows inside the caller's transaction; with ignoreExisting a record
    // (or run) that is there already is left as it is. False with Database().Error().
    bool Insert(const StoredRecord& record, bool ignoreExisting);
    // The record's rows as Insert took them; nullopt when it is not there or cannot be read.
    std::optional<StoredRecord> Load(const std::string& recordId);

private:
    // Makes the open file ready (WAL, syncing, the layout); Problem() says what stands in the way.
    void SetUp(const std::string& path, SqliteDatabase::Mode mode);
    void CheckLayout(SqliteDatabase::Mode mode);

    SqliteDatabase database_;
    std::string problem_;
};

}  // namespace kelvane
