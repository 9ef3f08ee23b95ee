#include "store/sqlite/SqliteStore.h"

#include <sqlite3.h>

#include <chrono>
#include <thread>

#include "store/StoreLayout.h"
#include "store/sqlite/NetworkFileSystem.h"

namespace kelvane {

namespace {

std::optional<std::int64_t> WholeAt(const std::optional<std::vector<SqlRow>>& rows) {
    if (!rows || rows->empty() || (*rows)[0].empty()) return std::nullopt;
    if (const auto* whole = std::get_if<std::int64_t>(&(*rows)[0][0])) return *whole;
    return std::nullopt;
}

}  // namespace

SqliteStore::SqliteStore(const std::string& path, SqliteDatabase::Mode mode)
    : database_(path, mode) {
    if (!database_.IsOpen()) {
        problem_ = "cannot be opened: " + database_.Error();
        return;
    }
    // Two Kelvanes that open one new file at once: while one turns it to WAL, the other's
    // first read may be refused at once (SQLite calls no busy handler there). It tries again
    // within the busy time-out.
    const auto deadline = std::chrono::steady_clock::now() +
                          std::chrono::milliseconds(SqliteDatabase::kBusyTimeoutMs);
    for (;;) {
        problem_.clear();
        database_.ForgetError();
        SetUp(path, mode);
        if (problem_.empty() || database_.ErrorCode() != SQLITE_BUSY ||
            std::chrono::steady_clock::now() >= deadline)
            return;
        Rollback();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

void SqliteStore::SetUp(const std::string& path, SqliteDatabase::Mode mode) {
    // WAL needs shared memory beside the file, which a network file system does not share
    // between computers: their locks do not hold, and the file is corrupted.
    if (const std::string network = NetworkFileSystemOf(path); !network.empty()) {
        problem_ = "lies on a network file system (" + network +
                   "), where SQLite's locks do not hold; name a file on a local disk";
        return;
    }
    // The first statement reads the file's header.
    const auto walMode = database_.Query("PRAGMA journal_mode=WAL", {});
    if (!walMode) {
        problem_ = database_.ErrorCode() == SQLITE_NOTADB
                       ? "is not an SQLite database (" + database_.Error() + ")"
                       : "cannot be read: " + database_.Error();
        return;
    }
    // A commit is on the disk before Keep returns; a record is whole or absent after a crash.
    if (!database_.Execute("PRAGMA synchronous=FULL") ||
        !database_.Execute("PRAGMA foreign_keys=ON")) {
        problem_ = "cannot be set up: " + database_.Error();
        return;
    }
    // A file that is read (the history) is mapped into memory and sorts in memory: the
    // history over 100,000 records then takes half the time, without the system's reads.
    if (mode == SqliteDatabase::Mode::Existing) {
        database_.Execute("PRAGMA mmap_size=268435456");
        database_.Execute("PRAGMA temp_store=MEMORY");
    }
    CheckLayout(mode);
}

void SqliteStore::CheckLayout(SqliteDatabase::Mode mode) {
    const std::string tables =
        "SELECT count(*), sum(name = 'kelvane_layout') FROM sqlite_master WHERE type = 'table'";
    for (int pass = 0; pass < 2; ++pass) {
        const auto counts = database_.Query(tables, {});
        if (!counts || counts->empty()) {
            problem_ = "cannot be read: " + database_.Error();
            return;
        }
        const auto* all = std::get_if<std::int64_t>(&(*counts)[0][0]);
        const auto* ours = std::get_if<std::int64_t>(&(*counts)[0][1]);
        if (ours && *ours > 0) {
            const auto version =
                WholeAt(database_.Query("SELECT max(version) FROM kelvane_layout", {}));
            if (!version) {
                problem_ = "has no layout version; name a new file";
            } else if (*version > StoreLayout::kVersion) {
                problem_ = "has Kelvane's layout " + std::to_string(*version) +
                           ", newer than this Kelvane's " + std::to_string(StoreLayout::kVersion) +
                           "; update Kelvane or name a new file";
            }
            if (pass == 1) Commit();
            return;
        }
        if (all && *all > 0) {
            problem_ = "holds another program's tables; name a new file";
            if (pass == 1) Rollback();
            return;
        }
        if (pass == 1) break;
        if (mode != SqliteDatabase::Mode::Create) {
            problem_ = "holds no Kelvane records";
            return;
        }
        // Another Kelvane may be making the tables too: look again inside the transaction.
        if (!Begin()) {
            problem_ = "cannot be written: " + database_.Error();
            return;
        }
    }
    for (const std::string& statement :
         StoreLayout::CreateStatements(StoreLayout::Dialect::Sqlite)) {
        if (!database_.Execute(statement)) {
            problem_ = "cannot be written: " + database_.Error();
            Rollback();
            return;
        }
    }
    if (!database_.Execute("INSERT INTO kelvane_layout (version) VALUES ($1)",
                           {std::int64_t{StoreLayout::kVersion}}) ||
        !Commit()) {
        problem_ = "cannot be written: " + database_.Error();
        Rollback();
    }
}

bool SqliteStore::Begin() { return database_.Execute("BEGIN IMMEDIATE"); }

bool SqliteStore::Commit() { return database_.Execute("COMMIT"); }

void SqliteStore::Rollback() {
    // SQLite may have rolled back already (a full disk, an I/O error); a ROLLBACK then would
    // only replace the failure's message by its own.
    if (database_.InTransaction()) database_.Execute("ROLLBACK");
}

bool SqliteStore::Insert(const StoredRecord& record, bool ignoreExisting) {
    // A run has many records: its row comes with the first.
    if (!database_.Execute(
            StoreLayout::InsertStatement("runs", StoreLayout::RunColumns(), 1, "run_id"),
            record.run))
        return false;
    if (!database_.Execute(StoreLayout::InsertStatement("records", StoreLayout::RecordColumns(), 1,
                                                        ignoreExisting ? "record_id" : ""),
                           record.record))
        return false;
    if (record.values.empty()) return true;
    SqlRow parameters;
    for (const SqlRow& row : record.values)
        parameters.insert(parameters.end(), row.begin(), row.end());
    return database_.Execute(StoreLayout::InsertStatement(
                                 "record_values", StoreLayout::ValueColumns(), record.values.size(),
                                 ignoreExisting ? "record_id, position" : ""),
                             parameters);
}

std::optional<StoredRecord> SqliteStore::Load(const std::string& recordId) {
    StoredRecord stored;
    const auto records =
        database_.Query("SELECT " + StoreLayout::ColumnList(StoreLayout::RecordColumns()) +
                            " FROM records WHERE record_id = $1",
                        {recordId});
    if (!records || records->size() != 1) return std::nullopt;
    stored.record = (*records)[0];
    stored.recordId = recordId;
    const auto* runId = std::get_if<std::string>(&stored.record[1]);
    if (!runId) return std::nullopt;
    stored.runId = *runId;
    const auto runs =
        database_.Query("SELECT " + StoreLayout::ColumnList(StoreLayout::RunColumns()) +
                            " FROM runs WHERE run_id = $1",
                        {*runId});
    if (!runs || runs->size() != 1) return std::nullopt;
    stored.run = (*runs)[0];
    auto values = database_.Query("SELECT " + StoreLayout::ColumnList(StoreLayout::ValueColumns()) +
                                      " FROM record_values WHERE record_id = $1 ORDER BY position",
                                  {recordId});
    if (!values) return std::nullopt;
    stored.values = std::move(*values);
    return stored;
}

}  // namespace kelvane
