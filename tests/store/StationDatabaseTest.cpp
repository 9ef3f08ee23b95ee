#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "store/StationDatabase.h"
#include "store/StoreLayout.h"
#include "store/sqlite/SqliteDatabase.h"
#include "tests/results/SampleRecords.h"
#include "tests/support/TemporaryFolder.h"

namespace kelvane::testing {
namespace {

class StationDatabaseTest : public ::testing::Test {
protected:
    std::string PathOf(const char* name) const { return (temporary_.Path() / name).string(); }

    // One field of the first row that the query gives, on a connection of its own.
    static SqlValue Field(const std::string& path, const std::string& sql,
                          const SqlRow& parameters = {}) {
        SqliteDatabase database(path, SqliteDatabase::Mode::Existing);
        const auto rows =
            database.Query(sql, sql.find("$1") == std::string::npos ? SqlRow() : parameters);
        EXPECT_TRUE(rows) << database.Error();
        return rows && !rows->empty() ? (*rows)[0][0] : SqlValue();
    }
    static std::int64_t Count(const std::string& path, const std::string& table) {
        const SqlValue count = Field(path, "SELECT count(*) FROM " + table);
        return std::holds_alternative<std::int64_t>(count) ? std::get<std::int64_t>(count) : -1;
    }

    const TemporaryFolder temporary_;
};

TEST_F(StationDatabaseTest, KeepsEachFieldOfTheRecordAndItsValues) {
    const std::string path = PathOf("station.sqlite");
    MeasurementRecord sem = Record("sem", WcdmaMaskResult());
    sem.recordId = "0b5a1d2c-0000-4000-8000-000000000001";
    {
        StationDatabase database(path);
        ASSERT_EQ(database.Problem(), "");
        EXPECT_EQ(database.Keep(Record("acp", AcpResult())), "");
        EXPECT_EQ(database.Keep(sem), "");
    }
    const std::string acp = "7c9e6679-7425-40de-944b-e07fc1f90ae7";
    struct Case {
        std::string sql;
        SqlValue expected;
    };
    const std::vector<Case> cases = {
        {"SELECT version FROM kelvane_layout", std::int64_t{StoreLayout::kVersion}},
        {"SELECT count(*) FROM runs", std::int64_t{1}},  // both records are of one run
        {"SELECT station || '/' || operator || '/' || dut FROM runs",
         std::string("bench-7/Ana/SN-1")},
        {"SELECT started || ' ' || verdict || ' ' || outcome || ' ' || margin_unit || ' ' || log "
         "FROM records WHERE record_id = $1",
         std::string("2026-12-09T14:19:50.123Z fail completed dB "
                     "ACP Measurement...\r\nCarrier Power = -10.20dBm\r\n")},
        {"SELECT worst_margin = -4.5 AND duration_s = 4.25 FROM records WHERE record_id = $1",
         std::int64_t{1}},
        {"SELECT json_extract(setup, '$.reference_level_dbm') + json_extract(setup, '$.address') "
         "FROM records WHERE record_id = $1",
         std::int64_t{28}},
        {"SELECT count(*) FROM record_values WHERE record_id = $1", std::int64_t{5}},
        {"SELECT name || ' ' || verdict FROM record_values WHERE record_id = $1 AND position = 2",
         std::string("acp_upper_5mhz fail")},
        {"SELECT limit_value = -45.0 AND margin = -4.5 FROM record_values WHERE record_id = $1 "
         "AND position = 2",
         std::int64_t{1}},
        {"SELECT limit_value IS NULL AND verdict IS NULL FROM record_values WHERE record_id = $1 "
         "AND name = 'carrier_power'",
         std::int64_t{1}},
    };
    for (const Case& c : cases) EXPECT_EQ(Field(path, c.sql, {acp}), c.expected) << c.sql;
    // A mask row keeps where it was found.
    EXPECT_EQ(Field(path,
                    "SELECT frequency_hz = 1997.26e6 AND start_hz = 1996.49e6 AND stop_hz = "
                    "1997.29e6 AND value = -77.87 AND analyzer_value = -77.87 AND relative_db = "
                    "-67.68 FROM record_values WHERE record_id = $1 AND name = 'row_2'",
                    {sem.recordId}),
              SqlValue(std::int64_t{1}));
}

TEST_F(StationDatabaseTest, ARecordThatFailsHalfWayLeavesNothing) {
    const std::string path = PathOf("station.sqlite");
    StationDatabase database(path);
    ASSERT_EQ(database.Problem(), "");
    {
        // The fourth value is refused: the run, the record and three values went in before it.
        SqliteDatabase other(path, SqliteDatabase::Mode::Existing);
        ASSERT_TRUE(
            other.Execute("CREATE TRIGGER refuse BEFORE INSERT ON record_values WHEN "
                          "NEW.name = 'acp_upper_10mhz' BEGIN SELECT RAISE(ABORT, "
                          "'refused on purpose'); END"));
    }
    const std::string failure = database.Keep(Record("acp", AcpResult()));
    EXPECT_EQ(failure, "cannot write the acp record to the database \"" + path +
                           "\": refused on purpose; nothing of it was kept");
    for (const char* table : {"runs", "records", "record_values"})
        EXPECT_EQ(Count(path, table), 0) << table;
    // The database takes the next record whole.
    EXPECT_EQ(database.Keep(Record("sem", WcdmaMaskResult())), "");
    EXPECT_EQ(Count(path, "record_values"), 3);
    // A record kept twice is a fault, not a second row.
    EXPECT_NE(database.Keep(Record("sem", WcdmaMaskResult())), "");
    EXPECT_EQ(Count(path, "records"), 1);
}

TEST_F(StationDatabaseTest, RefusesWhatIsNoKelvaneDatabase) {
    struct Case {
        const char* name;
        std::string contents;            // written before; "-" leaves the file out
        std::vector<std::string> setup;  // SQL run on the file before
        std::string problem;             // how it starts; empty: taken
    };
    const std::vector<std::string> newer = {
        "CREATE TABLE kelvane_layout (version INTEGER)",
        "INSERT INTO kelvane_layout VALUES (" + std::to_string(StoreLayout::kVersion + 1) + ")"};
    const std::vector<Case> cases = {
        {"new.sqlite", "-", {}, ""},
        {"empty.db", "", {}, ""},
        {"text.db",
         std::string(600, 'x'),
         {},
         "is not an SQLite database (file is not a database)"},
        {"other.sqlite",
         "-",
         {"CREATE TABLE accounts (id INTEGER)"},
         "holds another program's tables; name a new file"},
        {"newer.sqlite", "-", newer,
         "has Kelvane's layout 2, newer than this Kelvane's 1; update Kelvane or name a new file"},
        {"missing/folder.sqlite", "-", {}, "cannot be opened: unable to open database file"},
    };
    for (const Case& c : cases) {
        const std::string path = PathOf(c.name);
        if (c.contents != "-") std::ofstream(path, std::ios::binary) << c.contents;
        if (!c.setup.empty()) {
            SqliteDatabase setup(path, SqliteDatabase::Mode::Create);
            for (const std::string& sql : c.setup) ASSERT_TRUE(setup.Execute(sql)) << setup.Error();
        }
        StationDatabase database(path);
        EXPECT_EQ(database.Problem(), c.problem) << c.name;
        if (c.problem.empty()) {
            EXPECT_EQ(database.Keep(Record("acp", AcpResult())), "") << c.name;
            // Opened again, the layout is found and kept.
            EXPECT_EQ(StationDatabase(path).Problem(), "") << c.name;
        }
    }
}

TEST_F(StationDatabaseTest, TwoWritersAtOnceBothKeepEveryRecord) {
    const std::string path = PathOf("shared.sqlite");
    constexpr int kRecords = 40;
    const auto write = [&path](int writer) {
        StationDatabase database(path);
        EXPECT_EQ(database.Problem(), "");
        for (int i = 0; i < kRecords; ++i) {
            MeasurementRecord record = Record("acp", AcpResult());
            record.runId = "run-" + std::to_string(writer);
            record.recordId = "record-" + std::to_string(writer) + "-" + std::to_string(i);
            EXPECT_EQ(database.Keep(record), "");
        }
    };
    std::thread first(write, 1);
    std::thread second(write, 2);
    first.join();
    second.join();
    EXPECT_EQ(Count(path, "records"), 2 * kRecords);
    EXPECT_EQ(Count(path, "runs"), 2);
    EXPECT_EQ(Count(path, "record_values"), 2 * kRecords * 5);
}

}  // namespace
}  // namespace kelvane::testing
