#include "store/Journal.h"

#include <filesystem>
#include <system_error>

namespace kelvane {

namespace {

// The deliveries, in the order they were added (seq).
constexpr const char* kDeliveries =
    "CREATE TABLE IF NOT EXISTS deliveries (seq INTEGER PRIMARY KEY AUTOINCREMENT, record_id TEXT "
    "NOT NULL REFERENCES records (record_id), server TEXT NOT NULL, added TEXT NOT NULL, sent "
    "TEXT, UNIQUE (server, record_id))";
constexpr const char* kWaitingIndex =
    "CREATE INDEX IF NOT EXISTS deliveries_waiting ON deliveries (server, sent, seq)";
constexpr const char* kNow = "strftime('%Y-%m-%dT%H:%M:%fZ', 'now')";

SqliteDatabase::Mode ModeOf(bool create) {
    return create ? SqliteDatabase::Mode::Create : SqliteDatabase::Mode::Existing;
}

std::string MadeFolder(const std::string& path, bool create) {
    if (!create) return path;
    const std::filesystem::path folder =
        std::filesystem::path(std::u8string(path.begin(), path.end())).parent_path();
    std::error_code ignored;  // a folder that cannot be made shows as the file that cannot be
    if (!folder.empty()) std::filesystem::create_directories(folder, ignored);
    return path;
}

}  // namespace

std::string Journal::DefaultPath(const char* (*environment)(const char* name)) {
    const auto variable = [environment](const char* name) {
        const char* value = environment(name);
        return value != nullptr ? std::string(value) : std::string();
    };
#ifdef _WIN32
    if (const std::string local = variable("LOCALAPPDATA"); !local.empty())
        return local + "\\kelvane\\journal.sqlite";
    return {};
#else
    // A relative XDG_DATA_HOME is invalid and ignored, as the XDG base directory rules say.
    if (const std::string data = variable("XDG_DATA_HOME"); data.starts_with("/"))
        return data + "/kelvane/journal.sqlite";
    if (const std::string home = variable("HOME"); !home.empty())
        return home + "/.local/share/kelvane/journal.sqlite";
    return {};
#endif
}

Journal::Journal(const std::string& path, bool create)
    : path_(path), store_(MadeFolder(path, create), ModeOf(create)), problem_(store_.Problem()) {
    if (!problem_.empty()) return;
    if (!store_.Database().Execute(kDeliveries) || !store_.Database().Execute(kWaitingIndex))
        problem_ = "cannot be written: " + store_.Database().Error();
}

std::string Journal::Add(const StoredRecord& record, const std::string& server) {
    const bool added =
        store_.Begin() && store_.Insert(record, true) &&
        store_.Database().Execute(std::string("INSERT INTO deliveries (record_id, server, added) "
                                              "VALUES ($1, $2, ") +
                                      kNow + ") ON CONFLICT (server, record_id) DO NOTHING",
                                  {record.recordId, server}) &&
        store_.Commit();
    if (added) return {};
    const std::string reason = store_.Database().Error();
    store_.Rollback();
    return reason;
}

std::optional<std::vector<std::string>> Journal::Waiting(const std::string& server) {
    const auto rows = store_.Database().Query(
        "SELECT record_id FROM deliveries WHERE server = $1 AND sent IS NULL ORDER BY seq",
        {server});
    if (!rows) return std::nullopt;
    std::vector<std::string> ids;
    for (const SqlRow& row : *rows)
        if (const auto* id = std::get_if<std::string>(&row[0])) ids.push_back(*id);
    return ids;
}

std::optional<std::size_t> Journal::CountWaiting(const std::string& server) {
    const auto rows = store_.Database().Query(
        "SELECT count(*) FROM deliveries WHERE server = $1 AND sent IS NULL", {server});
    if (!rows || rows->empty()) return std::nullopt;
    const auto* count = std::get_if<std::int64_t>(&(*rows)[0][0]);
    return count ? std::optional<std::size_t>(static_cast<std::size_t>(*count)) : std::nullopt;
}

bool Journal::MarkSent(const std::string& recordId, const std::string& server) {
    return store_.Database().Execute(std::string("UPDATE deliveries SET sent = ") + kNow +
                                         " WHERE server = $1 AND record_id = $2 AND sent IS NULL",
                                     {server, recordId});
}

}  // namespace kelvane
