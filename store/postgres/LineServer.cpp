#include "store/postgres/LineServer.h"

#include <utility>

#include "store/StoreLayout.h"

namespace kelvane {

namespace {

// The advisory lock that Kelvanes take while one of them makes the tables: PostgreSQL's CREATE
// TABLE IF NOT EXISTS is not safe against another doing the same at once.
constexpr std::int64_t kLayoutLock = 0x4b656c76616e65;  // "Kelvane"

std::optional<std::int64_t> Whole(const std::optional<std::vector<SqlRow>>& rows) {
    if (!rows || rows->empty() || (*rows)[0].empty()) return std::nullopt;
    if (const auto* whole = std::get_if<std::int64_t>(&(*rows)[0][0])) return *whole;
    return std::nullopt;
}

}  // namespace

LineServer::LineServer(ServerAddress address) : address_(std::move(address)) {}

bool LineServer::Connect(bool makeTables) {
    newerLayout_ = false;
    connection_ = std::make_unique<PgConnection>(address_, kConnectTimeoutS);
    if (!connection_->IsOpen()) {
        failure_ = connection_->Error();
        connection_.reset();
        return false;
    }
    if (!MakeLayout(makeTables)) {
        connection_.reset();
        return false;
    }
    return true;
}

bool LineServer::MakeLayout(bool makeTables) {
    PgConnection& db = *connection_;
    const auto there = db.Query("SELECT to_regclass('kelvane_layout') IS NOT NULL", {});
    if (!there || there->empty()) {
        failure_ = db.Error();
        return false;
    }
    const auto* answer = std::get_if<std::string>(&(*there)[0][0]);
    if (answer && *answer == "f" && !makeTables) {
        failure_ = "the database holds no Kelvane records";
        return false;
    }
    if (answer && *answer == "f") {
        // Made by the first Kelvane that comes; the others wait for it and find them there.
        bool made =
            db.Execute("BEGIN") && db.Execute("SELECT pg_advisory_xact_lock($1)", {kLayoutLock});
        for (const std::string& statement :
             StoreLayout::CreateStatements(StoreLayout::Dialect::Postgres))
            made = made && db.Execute(statement);
        made = made &&
               db.Execute(
                   "INSERT INTO kelvane_layout (version) SELECT $1::integer WHERE NOT "
                   "EXISTS (SELECT 1 FROM kelvane_layout)",
                   {std::int64_t{StoreLayout::kVersion}}) &&
               db.Execute("COMMIT");
        if (!made) {
            failure_ = "cannot make Kelvane's tables: " + db.Error();
            db.Execute("ROLLBACK");
            return false;
        }
    }
    const auto version = Whole(db.Query("SELECT max(version)::bigint FROM kelvane_layout", {}));
    if (!version) {
        failure_ = "cannot read the layout's version: " + db.Error();
        return false;
    }
    if (*version > StoreLayout::kVersion) {
        newerLayout_ = true;
        failure_ = "the database has Kelvane's layout " + std::to_string(*version) +
                   ", newer than this Kelvane's " + std::to_string(StoreLayout::kVersion) +
                   "; update Kelvane";
        return false;
    }
    return true;
}

LineServer::Upload LineServer::Failed() {
    failure_ = connection_->Error();
    if (connection_->Lost()) {
        connection_.reset();
        return Upload::Lost;
    }
    connection_->Execute("ROLLBACK");
    return Upload::Refused;
}

LineServer::Upload LineServer::Send(const StoredRecord& record) {
    if (!connection_) {
        failure_ = "not connected";
        return Upload::Lost;
    }
    PgConnection& db = *connection_;
    if (!db.Execute("BEGIN")) return Failed();
    if (!db.Execute(StoreLayout::InsertStatement("runs", StoreLayout::RunColumns(), 1, "run_id"),
                    record.run) ||
        !db.Execute(
            StoreLayout::InsertStatement("records", StoreLayout::RecordColumns(), 1, "record_id"),
            record.record))
        return Failed();
    if (!record.values.empty()) {
        SqlRow parameters;
        for (const SqlRow& row : record.values)
            parameters.insert(parameters.end(), row.begin(), row.end());
        if (!db.Execute(StoreLayout::InsertStatement("record_values", StoreLayout::ValueColumns(),
                                                     record.values.size(), "record_id, position"),
                        parameters))
            return Failed();
    }
    // A lost answer to the COMMIT leaves the record waiting; sent again, it meets its own row.
    if (!db.Execute("COMMIT")) return Failed();
    return Upload::Done;
}

}  // namespace kelvane
