#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <mutex>
#include <string>

#include "results/RecordTarget.h"
#include "store/Journal.h"
#include "store/postgres/LineServer.h"

namespace kelvane {

// The line's PostgreSQL database as a record target (--results postgresql://...), offline
// first: each record is committed to the station's journal, then uploaded with what else waits.
// A server that cannot be reached holds up the measurements for at most its connect time-out
// (3 s) once every kRetryInterval: in between, records go to the journal only. Nothing is lost
// while the journal takes the records; Notice() says how many wait and how to send them.
class LineDatabase : public RecordTarget {
public:
    static constexpr std::chrono::seconds kRetryInterval{30};
    // The steady time now; the system's steady clock when empty.
    using Now = std::function<std::chrono::nanoseconds()>;

    // journalGiven: the journal was named (--journal), so the notice's command names it too.
    LineDatabase(ServerAddress address, const std::string& journalPath, bool journalGiven,
                 Now now = {});

    // Why the target cannot be used (a usage error before anything runs): the journal cannot
    // be opened, or the server holds a newer layout. Empty when ready.
    const std::string& Problem() const { return problem_; }
    // Uploads what waits from earlier runs, before the first measurement.
    void Start();

    // Empty once the record is in the journal, or on the server; else the line that says it
    // could be kept in neither.
    std::string Keep(const MeasurementRecord& record) override;
    // "3 records wait for postgresql://line@db/results (<why>); kelvane --sync
    // postgresql://line@db/results uploads them"; empty when none waits.
    std::string Notice() const override;

private:
    // Connects when the last failure is kRetryInterval ago, then uploads what waits.
    void Upload();
    void Note(std::size_t waiting, const std::string& why);
    std::chrono::nanoseconds Time() const;

    LineServer server_;
    Journal journal_;
    bool journalGiven_;
    Now now_;
    std::string problem_;
    std::mutex work_;  // one Keep at a time on the journal and the connection
    std::chrono::nanoseconds nextTry_{0};
    mutable std::mutex status_;  // guards waiting_ and why_, read by Notice on another thread
    std::size_t waiting_ = 0;
    std::string why_;
};

}  // namespace kelvane
