#include "store/postgres/PgConnection.h"

#include <charconv>
#include <memory>

#include <libpq-fe.h>

#include "results/RecordFields.h"

namespace kelvane {

namespace {

// The type oids of pg_type.h that come back as numbers.
constexpr Oid kInt8 = 20, kInt2 = 21, kInt4 = 23, kFloat4 = 700, kFloat8 = 701, kNumeric = 1700;

struct ResultClear {
    void operator()(PGresult* result) const { PQclear(result); }
};
using Result = std::unique_ptr<PGresult, ResultClear>;

SqlValue Field(const PGresult* result, int row, int column) {
    if (PQgetisnull(result, row, column)) return std::monostate();
    const char* text = PQgetvalue(result, row, column);
    const std::string value(text, static_cast<std::size_t>(PQgetlength(result, row, column)));
    switch (PQftype(result, column)) {
    case kInt2:
    case kInt4:
    case kInt8: {
        std::int64_t whole = 0;
        std::from_chars(value.data(), value.data() + value.size(), whole);
        return whole;
    }
    case kFloat4:
    case kFloat8:
    case kNumeric:
        try {
            return std::stod(value);
        } catch (const std::exception&) {
            return value;  // "NaN", "Infinity" where strtod does not take them
        }
    default:
        return value;
    }
}

}  // namespace

void PgConnection::Closer::operator()(pg_conn* connection) const { PQfinish(connection); }

PgConnection::PgConnection(const ServerAddress& address, int connectTimeoutS) : address_(address) {
    // Later keywords win over what the URI says: the time-outs are Kelvane's.
    const std::string timeout = std::to_string(connectTimeoutS);
    const std::string tcpTimeout = std::to_string(kTcpTimeoutMs);
    const char* keywords[] = {"dbname",           "connect_timeout",  "application_name",
                              "keepalives",       "keepalives_idle",  "keepalives_interval",
                              "keepalives_count", "tcp_user_timeout", nullptr};
    const char* values[] = {address.Uri().c_str(), timeout.c_str(), "kelvane", "1", "5", "2", "3",
                            tcpTimeout.c_str(),    nullptr};
    connection_.reset(PQconnectdbParams(keywords, values, 1));
    if (!connection_ || PQstatus(connection_.get()) != CONNECTION_OK) {
        NoteError(connection_ ? PQerrorMessage(connection_.get()) : "out of memory");
        return;
    }
    open_ = true;
    if (!Execute("SET TIME ZONE 'UTC'")) open_ = false;
}

bool PgConnection::Lost() const {
    return !open_ || !connection_ || PQstatus(connection_.get()) != CONNECTION_OK;
}

void PgConnection::NoteError(const char* message) {
    // libpq's messages run over several lines ("...: Connection refused\n\tIs the server
    // running...?\n"): one line, single spaces.
    std::string line;
    bool space = false;
    for (const char* c = message ? message : ""; *c != '\0'; ++c) {
        if (*c == '\n' || *c == '\t' || *c == '\r' || *c == ' ') {
            space = !line.empty();
        } else {
            if (space) line += ' ';
            space = false;
            line += *c;
        }
    }
    error_ = address_.Scrub(line.empty() ? "unknown failure" : line);
}

std::optional<std::vector<SqlRow>> PgConnection::Query(const std::string& sql,
                                                       const SqlRow& parameters) {
    if (!connection_) return std::nullopt;
    std::vector<std::string> texts(parameters.size());
    std::vector<const char*> values(parameters.size(), nullptr);
    for (std::size_t i = 0; i < parameters.size(); ++i) {
        const SqlValue& value = parameters[i];
        if (const auto* text = std::get_if<std::string>(&value)) {
            texts[i] = *text;
        } else if (const auto* number = std::get_if<double>(&value)) {
            texts[i] = ShortestNumber(*number);
        } else if (const auto* whole = std::get_if<std::int64_t>(&value)) {
            texts[i] = std::to_string(*whole);
        } else {
            continue;  // NULL
        }
        values[i] = texts[i].c_str();
    }
    const Result result(PQexecParams(connection_.get(), sql.c_str(),
                                     static_cast<int>(parameters.size()), nullptr, values.data(),
                                     nullptr, nullptr, 0));
    const ExecStatusType status = result ? PQresultStatus(result.get()) : PGRES_FATAL_ERROR;
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
        NoteError(result ? PQresultErrorMessage(result.get()) : PQerrorMessage(connection_.get()));
        if (error_ == "unknown failure") NoteError(PQerrorMessage(connection_.get()));
        return std::nullopt;
    }
    std::vector<SqlRow> rows;
    const int count = PQntuples(result.get());
    const int columns = PQnfields(result.get());
    for (int row = 0; row < count; ++row) {
        SqlRow fields;
        for (int column = 0; column < columns; ++column)
            fields.push_back(Field(result.get(), row, column));
        rows.push_back(std::move(fields));
    }
    return rows;
}

bool PgConnection::Execute(const std::string& sql, const SqlRow& parameters) {
    return Query(sql, parameters).has_value();
}

}  // namespace kelvane
