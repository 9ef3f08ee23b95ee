#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvane {

// The command line's database actions and options (README, "Databases"):
//   --journal FILE              the station's journal for postgresql:// targets and --sync
//   --sync URL                  upload what waits in the journal for the server URL
//   --history TARGET            the line's history from an SQLite file or a server, with
//     --since DATE  --station NAME  --measurement NAME  --history-by station
//     --history-format text|csv
// --station is the set-up's option (the records' station); with --history it selects.
class DatabaseOptions {
public:
    // Whether this build has the databases (SQLite and libpq); without them every database
    // option and target is refused.
    static constexpr bool kAvailable = KELVANE_DATABASES != 0;
    // The refusal's words in a build without them.
    static constexpr const char* kNotAvailable = "databases are not available in this build";

    // A server's URI (postgresql:// or postgres://), which the line's database is.
    static bool NamesServer(std::string_view target);
    // The argument with the password of a server URI in it left out, both "USER:PASSWORD@" and
    // a password= parameter ("--results=postgresql://line:pw@db/r" ->
    // "--results=postgresql://line@db/r"), for the trace's header; any other as it is.
    static std::string WithoutPassword(std::string argument);
    // An SQLite file by its name: ends in .sqlite or .db (in any case).
    static bool NamesSqliteFile(std::string_view target);

    // Takes argument i when it is one of these options (advancing i past its value): true.
    bool Take(const std::vector<std::string>& arguments, std::size_t& i);
    // The checks once every argument is read. measuring: --measure was given; resultsTargets:
    // the --results targets; station: --station's value when given. Sets Error().
    void Check(bool measuring, const std::vector<std::string>& resultsTargets,
               const std::optional<std::string>& station);

    bool Sync() const { return !syncTarget_.empty(); }
    bool History() const { return !historyTarget_.empty(); }
    const std::string& SyncTarget() const { return syncTarget_; }
    const std::string& HistoryTarget() const { return historyTarget_; }
    // --journal's file; empty: the default journal.
    const std::string& Journal() const { return journal_; }
    // --since as UTC "2026-12-01T00:00:00.000Z"; empty: all.
    const std::string& Since() const { return since_; }
    const std::string& Station() const { return station_; }
    const std::string& Measurement() const { return measurement_; }
    bool ByStation() const { return byStation_; }
    bool Csv() const { return csv_; }
    // The first mistake, for a usage error; empty when none.
    const std::string& Error() const { return error_; }

private:
    // The option's value ("--sync URL" or "--sync=URL"), advancing i; nullopt (and Error) when
    // it has none.
    std::optional<std::string> Value(const std::vector<std::string>& arguments, std::size_t& i,
                                     const std::string& option);
    void SetSince(const std::string& text);
    void SetError(std::string error);

    std::string syncTarget_;
    std::string historyTarget_;
    std::string journal_;
    std::string since_;
    std::string station_;
    std::string measurement_;
    bool byStation_ = false;
    bool csv_ = false;
    std::vector<std::string> given_;  // the options given, for the checks
    std::string error_;
};

}  // namespace kelvane
