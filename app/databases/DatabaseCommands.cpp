#include "app/databases/DatabaseCommands.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <system_error>

#include "app/ExitStatus.h"
#if KELVANE_DATABASES
#include "store/Journal.h"
#include "store/JournalUpload.h"
#include "store/history/HistoryQuery.h"
#include "store/history/HistoryReport.h"
#include "store/postgres/LineServer.h"
#include "store/postgres/ServerAddress.h"
#include "store/sqlite/SqliteStore.h"
#endif

namespace kelvane {

namespace {

#if KELVANE_DATABASES

// Writes the text to `out`; a write that fails is said on `err`, with status 4.
int Print(const std::string& text, std::ostream& out, std::ostream& err) {
    errno = 0;
    out << text << std::flush;
    if (out) return kExitCompleted;
    err << "kelvane: cannot write the log: "
        << (errno != 0 ? std::strerror(errno) : "the output stream failed") << '\n';
    return kExitLogUnwritable;
}

bool FileExists(const std::string& path) {
    std::error_code error;
    return std::filesystem::exists(std::filesystem::path(std::u8string(path.begin(), path.end())),
                                   error);
}

std::string Records(std::size_t count) {
    return std::to_string(count) + (count == 1 ? " record" : " records");
}

int RunSync(const DatabaseOptions& options, std::ostream& out, std::ostream& err) {
    const auto address = ServerAddress::Parse(options.SyncTarget());
    if (!address) {
        err << "kelvane: --sync: no server in the URI; use postgresql://USER@HOST[:PORT]/DB\n";
        return kExitUsage;
    }
    const std::string shown = address->Shown();
    const std::string path = options.Journal().empty()
                                 ? Journal::DefaultPath([](const char* name) -> const char* {
                                       return std::getenv(name);
                                   })
                                 : options.Journal();
    if (path.empty() || !FileExists(path)) {
        // No journal: nothing was ever kept for a server here.
        return Print(
            "kelvane: 0 records uploaded to " + shown + "; 0 wait (no journal \"" + path + "\")\n",
            out, err);
    }
    Journal journal(path, false);
    if (!journal.IsReady()) {
        err << "kelvane: the journal \"" << path << "\" " << journal.Problem() << '\n';
        return kExitUsage;
    }
    const std::size_t waiting = journal.CountWaiting(shown).value_or(0);
    if (waiting == 0)
        return Print("kelvane: 0 records uploaded to " + shown + "; 0 wait\n", out, err);
    LineServer server(*address);
    if (!server.Connect()) {
        err << "kelvane: cannot upload to " << shown << ": " << server.Failure() << "; "
            << Records(waiting) << (waiting == 1 ? " waits" : " wait") << " in \"" << path
            << "\"\n";
        return server.NewerLayout() ? kExitUsage : kExitMeasurementProblem;
    }
    const JournalUpload::Count count = JournalUpload(journal, server).Run();
    const int printed = Print("kelvane: " + Records(count.uploaded) + " uploaded to " + shown +
                                  "; " + std::to_string(count.waiting) + " wait\n",
                              out, err);
    if (count.waiting == 0) return printed;
    err << "kelvane: " << count.failure << '\n';
    return printed == kExitCompleted ? kExitMeasurementProblem : printed;
}

int RunHistory(const DatabaseOptions& options, std::ostream& out, std::ostream& err) {
    const std::string& target = options.HistoryTarget();
    const History::Filter filter{options.Since(), options.Station(), options.Measurement(),
                                 options.ByStation()};
    std::optional<ServerAddress> address;
    std::unique_ptr<LineServer> server;
    std::unique_ptr<SqliteStore> file;
    TextQuery* database = nullptr;
    std::string shown = target;
    if (DatabaseOptions::NamesServer(target)) {
        address = ServerAddress::Parse(target);
        if (!address) {
            err << "kelvane: --history: no server in the URI; use "
                   "postgresql://USER@HOST[:PORT]/DB\n";
            return kExitUsage;
        }
        shown = address->Shown();
        server = std::make_unique<LineServer>(*address);
        if (!server->Connect(false)) {
            err << "kelvane: cannot read the history from " << shown << ": " << server->Failure()
                << '\n';
            return server->NewerLayout() ? kExitUsage : kExitMeasurementProblem;
        }
        database = server->Connection();
    } else {
        if (!FileExists(target)) {
            err << "kelvane: the database \"" << target << "\" is not there\n";
            return kExitUsage;
        }
        file = std::make_unique<SqliteStore>(target, SqliteDatabase::Mode::Existing);
        if (!file->IsReady()) {
            err << "kelvane: the database \"" << target << "\" " << file->Problem() << '\n';
            return kExitUsage;
        }
        database = &file->Database();
        shown = "\"" + target + "\"";
    }
    const auto history = HistoryQuery(filter).Run(*database);
    if (!history) {
        err << "kelvane: cannot read the history from " << shown << ": " << database->Error()
            << '\n';
        return kExitMeasurementProblem;
    }
    const HistoryReport report(*history, shown, filter);
    return Print(options.Csv() ? report.Csv() : report.Text(), out, err);
}

#endif

}  // namespace

int RunDatabaseCommand(const CommandLine& commandLine, std::ostream& out, std::ostream& err) {
#if KELVANE_DATABASES
    const DatabaseOptions& options = commandLine.Databases();
    return options.Sync() ? RunSync(options, out, err) : RunHistory(options, out, err);
#else
    (void)commandLine;
    (void)out;
    err << "kelvane: " << DatabaseOptions::kNotAvailable << '\n';
    return kExitUsage;
#endif
}

}  // namespace kelvane
