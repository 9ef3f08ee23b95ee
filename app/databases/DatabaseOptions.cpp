#include "app/databases/DatabaseOptions.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "app/SetupOptions.h"
#include "measurements/MeasurementCatalog.h"

namespace kelvane {

namespace {

constexpr const char* kValued[] = {"--journal",     "--sync",       "--history",       "--since",
                                   "--measurement", "--history-by", "--history-format"};
// The options that only --history takes.
constexpr const char* kHistoryOnly[] = {"--since", "--measurement", "--history-by",
                                        "--history-format"};

bool Given(const std::vector<std::string>& given, const std::string& option) {
    return std::find(given.begin(), given.end(), option) != given.end();
}

bool EndsWithNoCase(std::string_view text, std::string_view suffix) {
    if (text.size() < suffix.size()) return false;
    return std::equal(suffix.begin(), suffix.end(), text.end() - suffix.size(),
                      [](char a, char b) { return std::tolower(a) == std::tolower(b); });
}

}  // namespace

bool DatabaseOptions::NamesServer(std::string_view target) {
    return target.starts_with("postgresql://") || target.starts_with("postgres://");
}

std::string DatabaseOptions::WithoutPassword(std::string argument) {
    std::size_t start = std::string::npos;
    for (const char* scheme : {"postgresql://", "postgres://"}) {
        if (const std::size_t at = argument.find(scheme); at != std::string::npos) {
            start = at + std::string_view(scheme).size();
            break;
        }
    }
    if (start == std::string::npos) return argument;
    const std::size_t authorityEnd =
        std::min(argument.find_first_of("/?#", start), argument.size());
    const std::size_t at = argument.rfind('@', authorityEnd);
    if (at != std::string::npos && at >= start) {
        const std::size_t colon = argument.find(':', start);
        if (colon < at) argument.erase(colon, at - colon);
    }
    const std::size_t query = argument.find('?', start);
    if (query == std::string::npos) return argument;
    std::string kept;
    std::string_view parameters = std::string_view(argument).substr(query + 1);
    while (!parameters.empty()) {
        const std::size_t next = parameters.find('&');
        const std::string_view parameter = parameters.substr(0, next);
        if (!parameter.starts_with("password=") && !parameter.empty())
            kept += (kept.empty() ? "?" : "&") + std::string(parameter);
        parameters = next == std::string_view::npos ? "" : parameters.substr(next + 1);
    }
    return argument.substr(0, query) + kept;
}

bool DatabaseOptions::NamesSqliteFile(std::string_view target) {
    return EndsWithNoCase(target, ".sqlite") || EndsWithNoCase(target, ".db");
}

bool DatabaseOptions::Take(const std::vector<std::string>& arguments, std::size_t& i) {
    const std::string& argument = arguments[i];
    const std::string option = argument.substr(0, argument.find('='));
    if (std::none_of(std::begin(kValued), std::end(kValued),
                     [&option](const char* name) { return option == name; }))
        return false;
    const auto value = Value(arguments, i, option);
    if (!value) return true;
    if (Given(given_, option)) SetError(option + ": given twice; give it once");
    given_.push_back(option);
    if (option == "--journal") {
        journal_ = *value;
    } else if (option == "--sync") {
        syncTarget_ = *value;
    } else if (option == "--history") {
        historyTarget_ = *value;
    } else if (option == "--since") {
        SetSince(*value);
    } else if (option == "--measurement") {
        if (!FindMeasurement(*value))
            SetError("--measurement: unknown measurement '" + SetupOptions::Shown(*value) + "'");
        measurement_ = *value;
    } else if (option == "--history-by") {
        if (*value != "station")
            SetError("--history-by: '" + SetupOptions::Shown(*value) + "'; use station");
        byStation_ = true;
    } else if (option == "--history-format") {
        if (*value != "text" && *value != "csv")
            SetError("--history-format: '" + SetupOptions::Shown(*value) + "'; use text or csv");
        csv_ = *value == "csv";
    }
    return true;
}

std::optional<std::string> DatabaseOptions::Value(const std::vector<std::string>& arguments,
                                                  std::size_t& i, const std::string& option) {
    const std::optional<std::string> value = SetupOptions::OptionValue(arguments, i, option);
    if (!value || value->empty()) {
        SetError(option + (option == "--journal"   ? " needs a file name"
                           : option == "--sync"    ? " needs a server, postgresql://USER@HOST/DB"
                           : option == "--history" ? " needs a database: an SQLite file or "
                                                     "postgresql://USER@HOST/DB"
                           : option == "--since"   ? " needs a date, YYYY-MM-DD"
                           : option == "--measurement" ? " needs a measurement name"
                                                       : " needs a value"));
        return std::nullopt;
    }
    return value;
}

void DatabaseOptions::SetSince(const std::string& text) {
    // YYYY-MM-DD, or with a UTC time THH:MM[:SS][Z].
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, used = 0;
    const char* c = text.c_str();
    bool valid = std::sscanf(c, "%4d-%2d-%2d%n", &year, &month, &day, &used) == 3 && used == 10;
    if (valid && text.size() > 10) {
        int more = 0;
        valid = text[10] == 'T' && std::sscanf(c + 11, "%2d:%2d%n", &hour, &minute, &more) == 2 &&
                more == 5;
        std::size_t at = 16;
        if (valid && text.size() > at && text[at] == ':') {
            valid = std::sscanf(c + at + 1, "%2d%n", &second, &more) == 1 && more == 2;
            at += 3;
        }
        if (valid && text.size() > at) valid = text.size() == at + 1 && text[at] == 'Z';
    }
    valid = valid && year >= 1970 && month >= 1 && month <= 12 && day >= 1 && day <= 31 &&
            hour < 24 && minute < 60 && second < 60;
    if (!valid) {
        SetError("--since: '" + SetupOptions::Shown(text) +
                 "' is no date; use YYYY-MM-DD or YYYY-MM-DDTHH:MM[:SS] (UTC)");
        return;
    }
    char canonical[96];
    std::snprintf(canonical, sizeof canonical, "%04d-%02d-%02dT%02d:%02d:%02d.000Z", year, month,
                  day, hour, minute, second);
    since_ = canonical;
}

void DatabaseOptions::Check(bool measuring, const std::vector<std::string>& resultsTargets,
                            const std::optional<std::string>& station) {
    const bool serverTarget =
        std::any_of(resultsTargets.begin(), resultsTargets.end(),
                    [](const std::string& target) { return NamesServer(target); });
    if (!kAvailable && (!given_.empty())) {
        SetError(given_.front() + ": " + kNotAvailable);
        return;
    }
    if (Sync() && History()) SetError("--sync and --history exclude each other; give one of them");
    for (const char* action : {"--sync", "--history"}) {
        if (!Given(given_, action)) continue;
        if (measuring) SetError(std::string(action) + " runs no measurement; leave out --measure");
        if (!resultsTargets.empty())
            SetError(std::string(action) + " writes no records; leave out --results");
    }
    if (Sync() && !NamesServer(syncTarget_))
        SetError("--sync: '" + SetupOptions::Shown(syncTarget_) +
                 "' is no server; use postgresql://USER@HOST[:PORT]/DB");
    for (const char* option : kHistoryOnly) {
        if (Given(given_, option) && !History())
            SetError(std::string(option) +
                     " selects what --history shows; name the database "
                     "with --history");
    }
    if (Given(given_, "--journal") && !Sync() && !serverTarget)
        SetError(
            "--journal keeps the records of a postgresql:// target (--results) or of "
            "--sync; name one");
    if (History() && station) station_ = *station;
}

void DatabaseOptions::SetError(std::string error) {
    if (error_.empty()) error_ = std::move(error);
}

}  // namespace kelvane
