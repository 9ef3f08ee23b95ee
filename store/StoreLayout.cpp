#include "store/StoreLayout.h"

namespace kelvane {

namespace {

using Type = StoreLayout::Type;

std::string TypeName(Type type, StoreLayout::Dialect dialect) {
    const bool postgres = dialect == StoreLayout::Dialect::Postgres;
    switch (type) {
    case Type::Text:
        return "TEXT";
    case Type::Real:
        return postgres ? "DOUBLE PRECISION" : "REAL";
    case Type::Integer:
        return postgres ? "BIGINT" : "INTEGER";
    case Type::Time:
        return postgres ? "TIMESTAMPTZ" : "TEXT";
    }
    return "TEXT";
}

std::string ColumnDefinitions(const std::vector<StoreLayout::Column>& columns,
                              StoreLayout::Dialect dialect) {
    std::string text;
    for (const auto& column : columns) {
        if (!text.empty()) text += ", ";
        text += std::string(column.name) + " " + TypeName(column.type, dialect);
        if (!column.nullable) text += " NOT NULL";
    }
    return text;
}

}  // namespace

const std::vector<StoreLayout::Column>& StoreLayout::RunColumns() {
    static const std::vector<Column> columns = {
        {"run_id", Type::Text, false},   {"station", Type::Text, false},
        {"operator", Type::Text, false}, {"dut", Type::Text, false},
        {"setup", Type::Text, false},    {"kelvane", Type::Text, false},
        {"started", Type::Time, false},
    };
    return columns;
}

const std::vector<StoreLayout::Column>& StoreLayout::RecordColumns() {
    static const std::vector<Column> columns = {
        {"record_id", Type::Text, false},   {"run_id", Type::Text, false},
        {"measurement", Type::Text, false}, {"title", Type::Text, false},
        {"started", Type::Time, false},     {"duration_s", Type::Real, false},
        {"bus", Type::Text, false},         {"station", Type::Text, false},
        {"operator", Type::Text, false},    {"dut", Type::Text, false},
        {"setup", Type::Text, false},       {"center_hz", Type::Real, true},
        {"outcome", Type::Text, false},     {"message", Type::Text, false},
        {"verdict", Type::Text, false},     {"worst_margin", Type::Real, true},
        {"margin_unit", Type::Text, true},  {"limit_set", Type::Text, true},
        {"kelvane", Type::Text, false},     {"log", Type::Text, false},
    };
    return columns;
}

const std::vector<StoreLayout::Column>& StoreLayout::ValueColumns() {
    static const std::vector<Column> columns = {
        {"record_id", Type::Text, false},     {"position", Type::Integer, false},
        {"name", Type::Text, false},          {"value", Type::Real, true},
        {"analyzer_value", Type::Real, true}, {"unit", Type::Text, false},
        {"limit_value", Type::Real, true},    {"margin", Type::Real, true},
        {"verdict", Type::Text, true},        {"frequency_hz", Type::Real, true},
        {"start_hz", Type::Real, true},       {"stop_hz", Type::Real, true},
        {"relative_db", Type::Real, true},    {"analyzer_verdict", Type::Text, true},
    };
    return columns;
}

std::vector<std::string> StoreLayout::CreateStatements(Dialect dialect) {
    // SQLite keeps a record's values beside each other (WITHOUT ROWID, clustered by the key),
    // so the history reads them in one range per record.
    const std::string clustered = dialect == Dialect::Sqlite ? " WITHOUT ROWID" : "";
    return {
        "CREATE TABLE IF NOT EXISTS kelvane_layout (version INTEGER NOT NULL)",
        "CREATE TABLE IF NOT EXISTS runs (" + ColumnDefinitions(RunColumns(), dialect) +
            ", PRIMARY KEY (run_id))",
        "CREATE TABLE IF NOT EXISTS records (" + ColumnDefinitions(RecordColumns(), dialect) +
            ", PRIMARY KEY (record_id), FOREIGN KEY (run_id) REFERENCES runs (run_id))",
        "CREATE TABLE IF NOT EXISTS record_values (" + ColumnDefinitions(ValueColumns(), dialect) +
            ", PRIMARY KEY (record_id, position), FOREIGN KEY (record_id) REFERENCES records "
            "(record_id))" +
            clustered,
        // The history reads every column it needs of a record from this index alone (a record's
        // row holds its log): by measurement, and station, time, DUT and verdict for the
        // selections, the first runs and the counts; record_id leads to the values.
        "CREATE INDEX IF NOT EXISTS records_history ON records (measurement, station, started, "
        "dut, verdict, record_id)",
        "CREATE INDEX IF NOT EXISTS records_by_start ON records (started)",
        "CREATE INDEX IF NOT EXISTS records_by_run ON records (run_id)",
    };
}

std::string StoreLayout::InsertStatement(const std::string& table,
                                         const std::vector<Column>& columns, std::size_t rows,
                                         const std::string& conflictKey) {
    std::string text = "INSERT INTO " + table + " (" + ColumnList(columns) + ") VALUES ";
    std::size_t parameter = 1;
    for (std::size_t row = 0; row < rows; ++row) {
        text += row == 0 ? "(" : ", (";
        for (std::size_t i = 0; i < columns.size(); ++i) {
            if (i > 0) text += ", ";
            text += "$" + std::to_string(parameter++);
        }
        text += ")";
    }
    if (!conflictKey.empty()) text += " ON CONFLICT (" + conflictKey + ") DO NOTHING";
    return text;
}

std::string StoreLayout::ColumnList(const std::vector<Column>& columns) {
    std::string text;
    for (const auto& column : columns) {
        if (!text.empty()) text += ", ";
        text += column.name;
    }
    return text;
}

}  // namespace kelvane
