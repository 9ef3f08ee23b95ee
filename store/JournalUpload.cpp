#include "store/JournalUpload.h"

namespace kelvane {

JournalUpload::Count JournalUpload::Run() {
    Count count;
    const std::string& server = server_.Address().Shown();
    const auto waiting = journal_.Waiting(server);
    if (!waiting) {
        count.failure =
            "the journal \"" + journal_.Path() + "\" cannot be read: " + journal_.Error();
        count.waiting = journal_.CountWaiting(server).value_or(0);
        return count;
    }
    for (const std::string& id : *waiting) {
        if (!server_.Connected()) break;
        const auto record = journal_.Load(id);
        if (!record) {
            count.failure = "the record " + id + " cannot be read from the journal \"" +
                            journal_.Path() + "\": " + journal_.Error();
            continue;
        }
        const LineServer::Upload sent = server_.Send(*record);
        if (sent == LineServer::Upload::Done) {
            ++count.uploaded;
            // Not marked: it is sent again later, and the server keeps it once.
            if (!journal_.MarkSent(id, server))
                count.failure = "the journal \"" + journal_.Path() +
                                "\" cannot mark a record sent: " + journal_.Error();
            continue;
        }
        count.failure = sent == LineServer::Upload::Refused
                            ? "the server refused the record " + id + ": " + server_.Failure()
                            : server_.Failure();
    }
    count.waiting = journal_.CountWaiting(server).value_or(waiting->size() - count.uploaded);
    if (count.waiting == 0) count.failure.clear();
    return count;
}

}  // namespace kelvane
