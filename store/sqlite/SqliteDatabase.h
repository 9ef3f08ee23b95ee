#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "store/TextQuery.h"
#include "store/sqlite/SqliteStatement.h"

struct sqlite3;

namespace kelvane {

// One connection to an SQLite file, closed when it ends. Statements take their parameters as
// $1, $2, ... (turned into SQLite's ?1, ?2, ...). Another connection holding the file's lock is
// waited for up to kBusyTimeoutMs, so that several Kelvanes on one PC can write to one file.
class SqliteDatabase : public TextQuery {
public:
    static constexpr int kBusyTimeoutMs = 10000;

    enum class Mode {
        Create,    // read and write; a file that is not there is made
        Existing,  // read and write; a file that is not there is an error
    };

    SqliteDatabase(const std::string& path, Mode mode);

    bool IsOpen() const { return database_ != nullptr; }
    // Runs a statement that gives no rows; false with Error() and ErrorCode() when it failed.
    bool Execute(const std::string& sql, const SqlRow& parameters = {});
    std::optional<std::vector<SqlRow>> Query(const std::string& sql,
                                             const SqlRow& parameters) override;
    // SQLite's message of the last failure, e.g. "file is not a database".
    std::string Error() const override { return error_; }
    // SQLite's primary result code of the last failure (SQLITE_NOTADB, SQLITE_BUSY, ...).
    int ErrorCode() const { return errorCode_; }
    // No failure noted, before steps whose own failures are asked for.
    void ForgetError() {
        error_.clear();
        errorCode_ = 0;
    }
    // Whether a transaction is open (SQLite rolls one back by itself after some failures).
    bool InTransaction() const;

private:
    struct Closer {
        void operator()(sqlite3* database) const;
    };

    // The statement prepared, or an unprepared one with the failure noted.
    SqliteStatement Prepare(const std::string& sql, const SqlRow& parameters);
    void Fail(int code);

    std::unique_ptr<sqlite3, Closer> database_;
    std::string error_;
    int errorCode_ = 0;
};

}  // namespace kelvane
