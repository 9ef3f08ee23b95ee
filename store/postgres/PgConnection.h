#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "store/TextQuery.h"
#include "store/postgres/ServerAddress.h"

struct pg_conn;

namespace kelvane {

// One connection to a PostgreSQL server through libpq, closed when it ends. The password comes
// from the URI, PGPASSWORD or ~/.pgpass, as libpq finds it; no message of this class holds it.
// Every time is UTC on the connection. A server that stops answering on a connection that stands
// is given up after kTcpTimeoutMs.
class PgConnection : public TextQuery {
public:
    static constexpr int kTcpTimeoutMs = 10000;

    // Connects within connectTimeoutS seconds (libpq's connect_timeout, at least 2).
    PgConnection(const ServerAddress& address, int connectTimeoutS);

    bool IsOpen() const { return open_; }
    // Whether the connection has gone (the server ended it, or stopped answering).
    bool Lost() const;
    // Runs a statement that gives no rows; false with Error() when it failed.
    bool Execute(const std::string& sql, const SqlRow& parameters = {});
    std::optional<std::vector<SqlRow>> Query(const std::string& sql,
                                             const SqlRow& parameters) override;
    // The server's or libpq's message on one line, without the password.
    std::string Error() const override { return error_; }

private:
    struct Closer {
        void operator()(pg_conn* connection) const;
    };

    void NoteError(const char* message);

    const ServerAddress& address_;
    std::unique_ptr<pg_conn, Closer> connection_;
    bool open_ = false;
    std::string error_;
};

}  // namespace kelvane
