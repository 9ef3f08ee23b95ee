#pragma once

#include <memory>
#include <string>

#include "store/StoredRecord.h"
#include "store/postgres/PgConnection.h"
#include "store/postgres/ServerAddress.h"

namespace kelvane {

// The line's PostgreSQL database: Kelvane's tables (StoreLayout), made where they are missing,
// and records uploaded each in one transaction with its values and its run's row, keyed by its
// record_id: a record uploaded twice (after a lost answer, a crash, a second --sync) is there
// once.
class LineServer {
public:
    // libpq's connect_timeout: how long an unreachable server may hold up a run.
    static constexpr int kConnectTimeoutS = 3;

    enum class Upload {
        Done,     // committed on the server (or there already)
        Refused,  // the server refused it (Failure() says why); the connection stands
        Lost,     // the connection failed or went; it is closed
    };

    explicit LineServer(ServerAddress address);

    const ServerAddress& Address() const { return address_; }
    // Connects and (with makeTables) makes the tables where they are missing; false with
    // Failure() (the server cannot be reached, holds no tables of Kelvane's, or holds a newer
    // layout: NewerLayout()).
    bool Connect(bool makeTables = true);
    bool Connected() const { return connection_ != nullptr; }
    void Disconnect() { connection_.reset(); }
    bool NewerLayout() const { return newerLayout_; }
    // The record in one transaction: its run's row, its row and its values, each left alone
    // where it is there already.
    Upload Send(const StoredRecord& record);
    // Why the last Connect or Send failed, on one line, without the password.
    const std::string& Failure() const { return failure_; }
    // The connection, for the history; null when not connected.
    PgConnection* Connection() { return connection_.get(); }

private:
    bool MakeLayout(bool makeTables);
    Upload Failed();

    ServerAddress address_;
    std::unique_ptr<PgConnection> connection_;
    bool newerLayout_ = false;
    std::string failure_;
};

}  // namespace kelvane
