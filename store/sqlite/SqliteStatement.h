#pragma once

#include <string>

#include "store/SqlValue.h"

struct sqlite3_stmt;

namespace kelvane {

// One prepared SQLite statement (sqlite3_stmt), finalized when it ends.
class SqliteStatement {
public:
    explicit SqliteStatement(sqlite3_stmt* statement = nullptr) : statement_(statement) {}
    ~SqliteStatement();
    SqliteStatement(SqliteStatement&& other) noexcept;
    SqliteStatement& operator=(SqliteStatement&& other) noexcept;
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    bool IsPrepared() const { return statement_ != nullptr; }
    // Binds the parameters ?1, ?2, ... in order; the SQLite result code.
    int Bind(const SqlRow& parameters);
    // sqlite3_step: SQLITE_ROW, SQLITE_DONE or an error code.
    int Step();
    // The current row's fields.
    SqlRow Row() const;

private:
    sqlite3_stmt* statement_;
};

}  // namespace kelvane
