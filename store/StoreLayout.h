#pragma once

#include <string>
#include <vector>

namespace kelvane {

// The tables that keep records in a database, the same in SQLite (a station's database, the
// journal) and PostgreSQL (the line's database):
//   runs           one row per program run: its station, and the operator, DUT and set-up of
//                  its first record, Kelvane's version, its start
//   records        one row per record, keyed by its record_id; it repeats the DUT, operator and
//                  set-up, which the window's set-up dialog may change between two records
//   record_values  one row per judged value, keyed by (record_id, position)
//   kelvane_layout the layout's version (kVersion), one row
// The journal adds "deliveries": which record waits for which server, and which went.
class StoreLayout {
public:
    enum class Dialect { Sqlite, Postgres };
    enum class Type { Text, Real, Integer, Time };  // Time: ISO 8601 UTC text in SQLite
    struct Column {
        const char* name;
        Type type;
        bool nullable;
    };

    // The layout this Kelvane writes; a database of a newer one is refused.
    static constexpr int kVersion = 1;

    static const std::vector<Column>& RunColumns();
    static const std::vector<Column>& RecordColumns();
    static const std::vector<Column>& ValueColumns();

    // The statements that create the tables and indexes where they are missing (CREATE ... IF
    // NOT EXISTS), without the layout's version row.
    static std::vector<std::string> CreateStatements(Dialect dialect);
    // "INSERT INTO table (a, b) VALUES ($1, $2), ($3, $4) ON CONFLICT (key) DO NOTHING" for
    // `rows` rows; without the ON CONFLICT clause when `conflictKey` is empty. Both dialects
    // take it ($N is turned into ?N for SQLite by SqliteDatabase).
    static std::string InsertStatement(const std::string& table, const std::vector<Column>& columns,
                                       std::size_t rows, const std::string& conflictKey);
    // "a, b, c": the columns' names, for a SELECT.
    static std::string ColumnList(const std::vector<Column>& columns);
};

}  // namespace kelvane
