// The databases' costs: one record kept in a station's SQLite file (its transaction committed
// and synced to the disk), one record sent to the line's PostgreSQL server and the whole way of
// a record through the journal to the server, and the history over 100,000 records.
//   build/benchmarks/store_benchmark
//   KELVANE_BENCH_POSTGRES=postgresql://USER@127.0.0.1:PORT/DB build/benchmarks/store_benchmark
// Without KELVANE_BENCH_POSTGRES the server's benchmarks are skipped. It must name a scratch
// database: the history's benchmark empties Kelvane's tables in it first.

#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "store/LineDatabase.h"
#include "store/StationDatabase.h"
#include "store/StoreLayout.h"
#include "store/history/HistoryQuery.h"
#include "store/postgres/LineServer.h"
#include "store/sqlite/SqliteStore.h"

namespace kelvane {
namespace {

namespace fs = std::filesystem;

// Values per record as the seven measurements give them: channel power 1, OBW 2, ACP 5, the
// W-CDMA mask 8, the WLAN masks 10 and 6, total power 1 (4.7 on average).
struct Kind {
    const char* measurement;
    int values;
    double level;  // the values' middle
    double limit;  // 0: none
};
constexpr Kind kKinds[] = {{"ch-power", 1, -10, 0},       {"obw", 2, 4.17e6, 5e6},
                           {"acp", 5, -54, -45},          {"sem", 8, -75, -12},
                           {"sem-11a", 10, -50, -42},     {"sem-11b", 6, -50, -44},
                           {"total-power-11b", 1, -10, 0}};

// Record `n` of a line of 20 stations and 5000 DUTs, about 2 % of the values over their limit.
MeasurementRecord LineRecord(std::size_t n, std::mt19937& random) {
    std::normal_distribution<double> noise(0, 1);
    const Kind& kind = kKinds[n % std::size(kKinds)];
    MeasurementRecord record;
    record.measurement = kind.measurement;
    record.started = std::chrono::system_clock::time_point(std::chrono::seconds(1'790'000'000) +
                                                           std::chrono::seconds(n * 3));
    record.durationS = 0.7;
    record.bus = "gpib";
    record.version = "1.2.0";
    record.origin = {"DUT-" + std::to_string(n / 20 % 5000), "Ana",
                     "station-" + std::to_string(n % 20)};
    record.runId = "run-" + std::to_string(n / 7);
    record.recordId = "record-" + std::to_string(n) + "-" + std::to_string(random());
    record.result.title = std::string(kind.measurement) + " Measurement...";
    record.result.outcome = MeasurementOutcome::Completed;
    record.result.log = record.result.title + "\r\n";
    bool failed = false;
    for (int i = 0; i < kind.values; ++i) {
        JudgedValue value;
        value.measured.name = "value_" + std::to_string(i + 1);
        value.measured.unit = kind.limit > 1e6 ? "Hz" : "dB";
        const double spread = kind.limit > 1e6 ? 2e5 : 2;
        value.value = value.measured.value = kind.level + spread * noise(random);
        if (kind.limit != 0) {
            value.limit = kind.limit;
            value.margin = kind.limit - value.value;
            value.passed = *value.margin >= 0;
            failed |= !*value.passed;
        }
        record.judgement.values.push_back(value);
    }
    record.judgement.verdict = kind.limit == 0 ? Verdict::None
                               : failed        ? Verdict::Fail
                                               : Verdict::Pass;
    return record;
}

std::string Scratch(const char* name) {
    return (fs::temp_directory_path() / (std::string("kelvane-bench-") + name)).string();
}

void Remove(const std::string& path) {
    for (const char* suffix : {"", "-wal", "-shm"}) fs::remove(path + suffix);
}

void BM_StationDatabaseKeep(benchmark::State& state) {
    const std::string path = Scratch("station.sqlite");
    Remove(path);
    StationDatabase database(path);
    std::mt19937 random(1);
    std::size_t n = 0;
    for (auto _ : state) {
        const MeasurementRecord record = LineRecord(3 + 7 * n++, random);  // a W-CDMA mask
        if (!database.Keep(record).empty()) state.SkipWithError("not kept");
    }
    Remove(path);
}
BENCHMARK(BM_StationDatabaseKeep)->Unit(benchmark::kMillisecond)->UseRealTime();

const char* Server() { return std::getenv("KELVANE_BENCH_POSTGRES"); }

void BM_LineServerSend(benchmark::State& state) {
    const auto address = Server() ? ServerAddress::Parse(Server()) : std::nullopt;
    LineServer server(address.value_or(*ServerAddress::Parse("postgresql://none@none/none")));
    if (!address || !server.Connect()) {
        state.SkipWithError("no server: set KELVANE_BENCH_POSTGRES");
        return;
    }
    std::mt19937 random(2);
    std::size_t n = 0;
    for (auto _ : state) {
        const StoredRecord record = StoredRecord::Of(LineRecord(3 + 7 * n++, random));
        if (server.Send(record) != LineServer::Upload::Done) state.SkipWithError("not sent");
    }
}
BENCHMARK(BM_LineServerSend)->Unit(benchmark::kMillisecond)->UseRealTime();

// The whole way of a record for a postgresql:// target: into the journal, sent, marked sent.
void BM_LineDatabaseKeep(benchmark::State& state) {
    const auto address = Server() ? ServerAddress::Parse(Server()) : std::nullopt;
    if (!address) {
        state.SkipWithError("no server: set KELVANE_BENCH_POSTGRES");
        return;
    }
    const std::string journal = Scratch("journal.sqlite");
    Remove(journal);
    LineDatabase line(*address, journal, true);
    line.Start();
    std::mt19937 random(3);
    std::size_t n = 0;
    for (auto _ : state) {
        if (!line.Keep(LineRecord(3 + 7 * n++, random)).empty()) state.SkipWithError("not kept");
    }
    if (!line.Notice().empty()) state.SkipWithError(line.Notice().c_str());
    Remove(journal);
}
BENCHMARK(BM_LineDatabaseKeep)->Unit(benchmark::kMillisecond)->UseRealTime();

// Loads `count` records in large transactions (many rows per INSERT), as fast as the database
// takes them.
template <typename Execute>
bool Load(std::size_t count, Execute execute) {
    constexpr std::size_t kPerStatement = 50;
    std::mt19937 random(4);
    for (std::size_t first = 0; first < count; first += kPerStatement) {
        std::vector<StoredRecord> records;
        for (std::size_t n = first; n < std::min(count, first + kPerStatement); ++n)
            records.push_back(StoredRecord::Of(LineRecord(n, random)));
        const auto insert = [&](const char* table, const auto& columns, auto rowsOf,
                                const char* key) {
            std::vector<SqlRow> rows;
            for (const StoredRecord& record : records) rowsOf(record, rows);
            SqlRow parameters;
            for (const SqlRow& row : rows)
                parameters.insert(parameters.end(), row.begin(), row.end());
            return execute(StoreLayout::InsertStatement(table, columns, rows.size(), key),
                           parameters);
        };
        const bool loaded =
            execute("BEGIN", {}) &&
            insert(
                "runs", StoreLayout::RunColumns(),
                [](const StoredRecord& r, std::vector<SqlRow>& rows) { rows.push_back(r.run); },
                "run_id") &&
            insert(
                "records", StoreLayout::RecordColumns(),
                [](const StoredRecord& r, std::vector<SqlRow>& rows) { rows.push_back(r.record); },
                "record_id") &&
            insert(
                "record_values", StoreLayout::ValueColumns(),
                [](const StoredRecord& r, std::vector<SqlRow>& rows) {
                    rows.insert(rows.end(), r.values.begin(), r.values.end());
                },
                "record_id, position") &&
            execute("COMMIT", {});
        if (!loaded) return false;
    }
    return true;
}

void History(benchmark::State& state, TextQuery& database, bool byStation) {
    const HistoryQuery query({"", "", "", byStation});
    for (auto _ : state) {
        const auto history = query.Run(database);
        if (!history || history->records != 100'000) state.SkipWithError(database.Error().c_str());
        benchmark::DoNotOptimize(history);
    }
}

// The file with 100,000 records, made once for the benchmarks that read it; empty when it
// could not be made.
const std::string& HistoryFile() {
    static const std::string path = [] {
        const std::string file = Scratch("history.sqlite");
        Remove(file);
        SqliteStore store(file, SqliteDatabase::Mode::Create);
        store.Database().Execute("PRAGMA synchronous=OFF");
        const bool loaded = Load(100'000, [&store](const std::string& sql, const SqlRow& values) {
            return store.Database().Execute(sql, values);
        });
        return loaded ? file : std::string();
    }();
    return path;
}

void BM_HistorySqlite100k(benchmark::State& state) {
    if (HistoryFile().empty()) {
        state.SkipWithError("the records could not be loaded");
        return;
    }
    SqliteStore store(HistoryFile(), SqliteDatabase::Mode::Existing);
    History(state, store.Database(), state.range(0) != 0);
}
BENCHMARK(BM_HistorySqlite100k)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_HistoryPostgres100k(benchmark::State& state) {
    const auto address = Server() ? ServerAddress::Parse(Server()) : std::nullopt;
    LineServer server(address.value_or(*ServerAddress::Parse("postgresql://none@none/none")));
    if (!address || !server.Connect()) {
        state.SkipWithError("no server: set KELVANE_BENCH_POSTGRES");
        return;
    }
    PgConnection& db = *server.Connection();
    // An empty database of its own for the 100,000 records.
    if (!db.Execute("TRUNCATE record_values, records, runs") ||
        !Load(100'000, [&db](const std::string& sql,
                             const SqlRow& parameters) { return db.Execute(sql, parameters); }) ||
        !db.Execute("ANALYZE")) {
        state.SkipWithError(db.Error().c_str());
        return;
    }
    History(state, db, state.range(0) != 0);
}
BENCHMARK(BM_HistoryPostgres100k)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace kelvane

BENCHMARK_MAIN();
