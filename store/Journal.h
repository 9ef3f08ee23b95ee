#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "store/StoredRecord.h"
#include "store/sqlite/SqliteStore.h"

namespace kelvane {

// The station's journal: an SQLite file (Kelvane's tables, SqliteStore) where every record for
// a line's server is committed before it is uploaded, with a delivery row per record and server
// that is marked sent only once the server has committed it. What is not marked is uploaded
// again later; the server keeps one row per record_id whatever comes twice. Several Kelvanes may
// share one journal.
class Journal {
public:
    // The default journal's place: $XDG_DATA_HOME/kelvane/journal.sqlite, else
    // $HOME/.local/share/kelvane/journal.sqlite; on Windows %LOCALAPPDATA%\kelvane\journal.sqlite.
    // `environment` reads a variable (null when unset). Empty when none of them is set.
    static std::string DefaultPath(const char* (*environment)(const char* name));

    // Opens or (with create) makes the file; its folder is made too. Problem() says what stands
    // in the way.
    Journal(const std::string& path, bool create);

    const std::string& Path() const { return path_; }
    // Why the journal cannot be used, to follow its name (SqliteStore::Problem).
    const std::string& Problem() const { return problem_; }
    bool IsReady() const { return problem_.empty(); }

    // Commits the record with a delivery for `server` (ServerAddress::Shown), in one
    // transaction; empty when committed, else why not.
    std::string Add(const StoredRecord& record, const std::string& server);
    // The ids of the records that wait for `server`, in the order they were added.
    std::optional<std::vector<std::string>> Waiting(const std::string& server);
    std::optional<std::size_t> CountWaiting(const std::string& server);
    std::optional<StoredRecord> Load(const std::string& recordId) { return store_.Load(recordId); }
    // Marks the record as sent to `server` (once the server has committed it).
    bool MarkSent(const std::string& recordId, const std::string& server);
    // SQLite's message of the last failure.
    std::string Error() const { return store_.Database().Error(); }

private:
    std::string path_;
    mutable SqliteStore store_;
    std::string problem_;
};

}  // namespace kelvane
