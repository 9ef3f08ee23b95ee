#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kelvane {

// The line's PostgreSQL server as --results, --sync and --history name it: a libpq connection
// URI, postgresql://USER@HOST[:PORT]/DB (or postgres://). The password belongs in PGPASSWORD or
// ~/.pgpass; one written into the URI is used, but never shown: Shown() and Scrub() leave it out
// of every message, record and the journal.
class ServerAddress {
public:
    // Whether the text is meant as a server: it starts with postgresql:// or postgres://.
    static bool IsServer(std::string_view text);
    // The address; nullopt when the text is no such URI or names no host or database.
    static std::optional<ServerAddress> Parse(const std::string& text);

    // As given, for libpq (with the password, if any).
    const std::string& Uri() const { return uri_; }
    // "postgresql://line@db.example/results": the URI without its password (neither in the
    // user part nor as a password= parameter), always with the scheme postgresql://.
    const std::string& Shown() const { return shown_; }
    // The message without the password (as given and percent-decoded), each replaced by "***".
    std::string Scrub(std::string message) const;

private:
    std::string uri_;
    std::string shown_;
    std::string password_;  // as written in the URI, empty without one
};

}  // namespace kelvane
