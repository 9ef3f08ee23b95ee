#include "app/records/RecordTargets.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "app/databases/DatabaseOptions.h"
#include "results/ResultsFile.h"
#if KELVANE_DATABASES
#include "store/Journal.h"
#include "store/LineDatabase.h"
#include "store/StationDatabase.h"
#include "store/postgres/ServerAddress.h"
#endif

namespace kelvane {

namespace {

std::filesystem::path PathOf(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

// Whether the two paths name one file (also through links or other spellings), which the trace's
// lines and the records, or two targets, would share. A device such as /dev/null may take both.
bool OneFile(const std::string& first, const std::string& second) {
    std::error_code error;
    if (std::filesystem::status(PathOf(first), error).type() ==
        std::filesystem::file_type::character)
        return false;
    return std::filesystem::equivalent(PathOf(first), PathOf(second), error);
}

}  // namespace

RecordTargets::RecordTargets(const std::vector<std::string>& paths, const std::string& tracePath,
                             const std::string& journalPath)
    : journalPath_(journalPath) {
    for (const std::string& path : paths) {
        Open(path, tracePath);
        if (!error_.empty()) {
            targets_.clear();
            return;
        }
    }
}

std::unique_ptr<RecordTarget> RecordTargets::OpenDatabase(const std::string& path) {
#if KELVANE_DATABASES
    if (!DatabaseOptions::NamesServer(path)) {
        auto database = std::make_unique<StationDatabase>(path);
        if (!database->Problem().empty()) {
            error_ = "the database \"" + path + "\" " + database->Problem();
            return nullptr;
        }
        return database;
    }
    const auto address = ServerAddress::Parse(path);
    if (!address) {
        error_ = "--results: '" + path.substr(0, path.find("://") + 3) +
                 "...' is no server; use postgresql://USER@HOST[:PORT]/DB";
        return nullptr;
    }
    for (const std::string& earlier : paths_) {
        const auto other = ServerAddress::Parse(earlier);
        if (other && other->Shown() == address->Shown()) {
            error_ = "--results names one server twice, " + address->Shown() +
                     "; each record would be sent twice";
            return nullptr;
        }
    }
    const std::string journal = journalPath_.empty()
                                    ? Journal::DefaultPath([](const char* name) -> const char* {
                                          return std::getenv(name);
                                      })
                                    : journalPath_;
    if (journal.empty()) {
        error_ = "no place for the journal of " + address->Shown() +
                 ": set XDG_DATA_HOME or HOME, or name the file with --journal";
        return nullptr;
    }
    auto line = std::make_unique<LineDatabase>(*address, journal, !journalPath_.empty());
    if (line->Problem().empty()) line->Start();
    if (!line->Problem().empty()) {
        error_ = line->Problem();
        return nullptr;
    }
    return line;
#else
    (void)path;
    error_ = std::string("--results \"") +
             (DatabaseOptions::NamesServer(path) ? "postgresql://..." : path) +
             "\": " + DatabaseOptions::kNotAvailable;
    return nullptr;
#endif
}

void RecordTargets::Open(const std::string& path, const std::string& tracePath) {
    if (DatabaseOptions::NamesServer(path) || DatabaseOptions::NamesSqliteFile(path)) {
        if (!DatabaseOptions::NamesServer(path)) {
            for (const std::string& earlier : paths_) {
                if (!DatabaseOptions::NamesServer(earlier) && OneFile(earlier, path)) {
                    error_ = "--results names one file twice, \"" + path +
                             "\"; each record would be written twice";
                    return;
                }
            }
            if (!tracePath.empty() && OneFile(tracePath, path)) {
                error_ = "--trace and --results name one file, \"" + path +
                         "\"; give each a file of its own";
                return;
            }
        }
        auto database = OpenDatabase(path);
        if (!database) return;
        paths_.push_back(path);
        targets_.push_back(std::move(database));
        return;
    }
    auto file = std::make_unique<ResultsFile>(path);
    if (file->OtherHeader()) {
        error_ = "the results file \"" + path +
                 "\" has another header than Kelvane writes; name a new file";
        return;
    }
    if (!file->IsOpen()) {
        error_ = "cannot open the results file \"" + path + "\": " + file->Failure();
        return;
    }
    if (!tracePath.empty() && OneFile(tracePath, path)) {
        error_ =
            "--trace and --results name one file, \"" + path + "\"; give each a file of its own";
        return;
    }
    for (const std::string& earlier : paths_) {
        if (!DatabaseOptions::NamesServer(earlier) && OneFile(earlier, path)) {
            error_ = "--results names one file twice, \"" + path +
                     "\"; each record would be written twice";
            return;
        }
    }
    paths_.push_back(path);
    targets_.push_back(std::move(file));
}

std::vector<RecordTarget*> RecordTargets::Targets() const {
    std::vector<RecordTarget*> targets;
    for (const auto& target : targets_) targets.push_back(target.get());
    return targets;
}

}  // namespace kelvane
