#include "store/sqlite/SqliteDatabase.h"

#include <sqlite3.h>

#include <cctype>

#include "store/sqlite/SampleDeviation.h"

namespace kelvane {

namespace {

// "$12" -> "?12" outside quoted text: SQLite numbers ?N parameters as PostgreSQL numbers $N.
std::string SqliteParameters(const std::string& sql) {
    std::string text = sql;
    char quote = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quote != 0) {
            if (c == quote) quote = 0;
        } else if (c == '\'' || c == '"') {
            quote = c;
        } else if (c == '$' && i + 1 < text.size() &&
                   std::isdigit(static_cast<unsigned char>(text[i + 1]))) {
            text[i] = '?';
        }
    }
    return text;
}

}  // namespace

void SqliteDatabase::Closer::operator()(sqlite3* database) const { sqlite3_close_v2(database); }

SqliteDatabase::SqliteDatabase(const std::string& path, Mode mode) {
    sqlite3* database = nullptr;
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_FULLMUTEX |
                      (mode == Mode::Create ? SQLITE_OPEN_CREATE : 0);
    const int result = sqlite3_open_v2(path.c_str(), &database, flags, nullptr);
    if (result != SQLITE_OK) {
        errorCode_ = result;
        error_ = database ? sqlite3_errmsg(database) : sqlite3_errstr(result);
        sqlite3_close_v2(database);
        return;
    }
    database_.reset(database);
    sqlite3_extended_result_codes(database, 0);
    sqlite3_busy_timeout(database, kBusyTimeoutMs);
    if (!SampleDeviation::Register(database)) Fail(sqlite3_errcode(database));
}

bool SqliteDatabase::InTransaction() const {
    return database_ && sqlite3_get_autocommit(database_.get()) == 0;
}

void SqliteDatabase::Fail(int code) {
    errorCode_ = code & 0xff;
    error_ = database_ ? sqlite3_errmsg(database_.get()) : sqlite3_errstr(code);
}

SqliteStatement SqliteDatabase::Prepare(const std::string& sql, const SqlRow& parameters) {
    if (!database_) return SqliteStatement();
    sqlite3_stmt* raw = nullptr;
    const std::string text = SqliteParameters(sql);
    int result = sqlite3_prepare_v2(database_.get(), text.c_str(), static_cast<int>(text.size()),
                                    &raw, nullptr);
    SqliteStatement statement(raw);
    if (result == SQLITE_OK) result = statement.Bind(parameters);
    if (result != SQLITE_OK) {
        Fail(result);
        return SqliteStatement();
    }
    return statement;
}

bool SqliteDatabase::Execute(const std::string& sql, const SqlRow& parameters) {
    SqliteStatement statement = Prepare(sql, parameters);
    if (!statement.IsPrepared()) return false;
    int result = statement.Step();
    while (result == SQLITE_ROW) result = statement.Step();
    if (result == SQLITE_DONE) return true;
    Fail(result);
    return false;
}

std::optional<std::vector<SqlRow>> SqliteDatabase::Query(const std::string& sql,
                                                         const SqlRow& parameters) {
    SqliteStatement statement = Prepare(sql, parameters);
    if (!statement.IsPrepared()) return std::nullopt;
    std::vector<SqlRow> rows;
    int result = statement.Step();
    while (result == SQLITE_ROW) {
        rows.push_back(statement.Row());
        result = statement.Step();
    }
    if (result == SQLITE_DONE) return rows;
    Fail(result);
    return std::nullopt;
}

}  // namespace kelvane
