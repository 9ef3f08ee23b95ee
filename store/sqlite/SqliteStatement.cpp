#include "store/sqlite/SqliteStatement.h"

#include <sqlite3.h>

#include <utility>

namespace kelvane {

SqliteStatement::~SqliteStatement() { sqlite3_finalize(statement_); }

SqliteStatement::SqliteStatement(SqliteStatement&& other) noexcept
    : statement_(std::exchange(other.statement_, nullptr)) {}

SqliteStatement& SqliteStatement::operator=(SqliteStatement&& other) noexcept {
    if (this != &other) {
        sqlite3_finalize(statement_);
        statement_ = std::exchange(other.statement_, nullptr);
    }
    return *this;
}

int SqliteStatement::Bind(const SqlRow& parameters) {
    for (std::size_t i = 0; i < parameters.size(); ++i) {
        const int index = static_cast<int>(i + 1);
        const SqlValue& value = parameters[i];
        int result = SQLITE_OK;
        if (const auto* text = std::get_if<std::string>(&value)) {
            result = sqlite3_bind_text64(statement_, index, text->data(), text->size(),
                                         SQLITE_TRANSIENT, SQLITE_UTF8);
        } else if (const auto* number = std::get_if<double>(&value)) {
            result = sqlite3_bind_double(statement_, index, *number);
        } else if (const auto* whole = std::get_if<std::int64_t>(&value)) {
            result = sqlite3_bind_int64(statement_, index, *whole);
        } else {
            result = sqlite3_bind_null(statement_, index);
        }
        if (result != SQLITE_OK) return result;
    }
    return SQLITE_OK;
}

int SqliteStatement::Step() { return sqlite3_step(statement_); }

SqlRow SqliteStatement::Row() const {
    SqlRow row;
    const int count = sqlite3_column_count(statement_);
    for (int i = 0; i < count; ++i) {
        switch (sqlite3_column_type(statement_, i)) {
        case SQLITE_INTEGER:
            row.emplace_back(static_cast<std::int64_t>(sqlite3_column_int64(statement_, i)));
            break;
        case SQLITE_FLOAT:
            row.emplace_back(sqlite3_column_double(statement_, i));
            break;
        case SQLITE_NULL:
            row.emplace_back(std::monostate());
            break;
        default: {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement_, i));
            row.emplace_back(std::string(
                text ? text : "", static_cast<std::size_t>(sqlite3_column_bytes(statement_, i))));
        }
        }
    }
    return row;
}

}  // namespace kelvane
