#include "store/LineDatabase.h"

#include <utility>

#include "store/JournalUpload.h"

namespace kelvane {

namespace {

// The path as a shell takes it: in single quotes when it holds more than plain characters.
std::string ShellWord(const std::string& text) {
    const bool plain = !text.empty() && text.find_first_not_of(
                                            "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
                                            "0123456789/._-+:@%,=") == std::string::npos;
    if (plain) return text;
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

}  // namespace

LineDatabase::LineDatabase(ServerAddress address, const std::string& journalPath, bool journalGiven,
                           Now now)
    : server_(std::move(address)),
      journal_(journalPath, true),
      journalGiven_(journalGiven),
      now_(std::move(now)) {
    if (!journal_.IsReady()) problem_ = "the journal \"" + journalPath + "\" " + journal_.Problem();
}

std::chrono::nanoseconds LineDatabase::Time() const {
    if (now_) return now_();
    return std::chrono::steady_clock::now().time_since_epoch();
}

void LineDatabase::Start() {
    const std::lock_guard lock(work_);
    Upload();
    if (server_.NewerLayout()) problem_ = server_.Address().Shown() + ": " + server_.Failure();
}

void LineDatabase::Upload() {
    const std::string& name = server_.Address().Shown();
    if (!server_.Connected()) {
        if (Time() < nextTry_) {
            Note(journal_.CountWaiting(name).value_or(0), {});
            return;
        }
        if (!server_.Connect()) {
            nextTry_ = Time() + kRetryInterval;
            Note(journal_.CountWaiting(name).value_or(0), server_.Failure());
            return;
        }
    }
    JournalUpload::Count count = JournalUpload(journal_, server_).Run();
    if (!server_.Connected()) {
        // The connection went during the upload (a restarted server): one new try at once,
        // then not before kRetryInterval.
        if (server_.Connect()) {
            count = JournalUpload(journal_, server_).Run();
        } else {
            nextTry_ = Time() + kRetryInterval;
            count.failure = server_.Failure();
        }
    }
    Note(count.waiting, count.failure);
}

void LineDatabase::Note(std::size_t waiting, const std::string& why) {
    const std::lock_guard lock(status_);
    waiting_ = waiting;
    if (!why.empty() || waiting == 0) why_ = why;
}

std::string LineDatabase::Keep(const MeasurementRecord& record) {
    const StoredRecord stored = StoredRecord::Of(record);
    const std::string& name = server_.Address().Shown();
    const std::lock_guard lock(work_);
    const std::string journalFailure =
        journal_.IsReady() ? journal_.Add(stored, name) : journal_.Problem();
    if (journalFailure.empty()) {
        Upload();
        return {};
    }
    // Not in the journal: it is safe only once the server has it.
    if (!server_.Connected() && Time() >= nextTry_ && !server_.Connect())
        nextTry_ = Time() + kRetryInterval;
    if (server_.Connected() && server_.Send(stored) == LineServer::Upload::Done) return {};
    return "cannot keep the " + record.measurement + " record for " + name + ": the journal \"" +
           journal_.Path() + "\" could not take it (" + journalFailure + ") and the server " +
           (server_.Failure().empty() ? "was not tried" : "could not (" + server_.Failure() + ")");
}

std::string LineDatabase::Notice() const {
    const std::lock_guard lock(status_);
    if (waiting_ == 0) return {};
    const std::string& name = server_.Address().Shown();
    const std::string command = "kelvane --sync " + name +
                                (journalGiven_ ? " --journal " + ShellWord(journal_.Path()) : "");
    return std::to_string(waiting_) +
           (waiting_ == 1 ? " record waits for " : " records wait for ") + name +
           (why_.empty() ? "" : " (" + why_ + ")") + "; " + command +
           (waiting_ == 1 ? " uploads it" : " uploads them");
}

}  // namespace kelvane
