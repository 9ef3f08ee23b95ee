#include "gpib/prologix/AdapterDriver.h"

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

#include "gpib/EscapedText.h"
#include "gpib/GpibCodes.h"

namespace kelvane {

namespace {

using std::chrono::duration_cast;
using std::chrono::milliseconds;
using std::chrono::nanoseconds;

constexpr std::int32_t kBoardDescriptor = 0;
// How long one "++ver" is waited for before it is sent again while the adapter starts up.
constexpr milliseconds kVersionRetry{500};

}  // namespace

AdapterDriver::AdapterDriver(std::string busName, StreamOpener opener, Clock& clock, Notice notice)
    : busName_(std::move(busName)),
      opener_(std::move(opener)),
      clock_(clock),
      notice_(std::move(notice)) {}

void AdapterDriver::Tell(NoticeKind kind, const std::string& text) {
    if (kind == NoticeKind::Problem) lastProblem_ = busName_ + ": " + text;
    if (notice_) notice_(kind, busName_ + ": " + text);
}

void AdapterDriver::TellDropped(const char* where) {
    if (link_ && link_->DroppedBytes() > 0)
        Tell(NoticeKind::Detail, "dropped " + std::to_string(link_->DroppedBytes()) +
                                     " byte(s) that nobody asked for " + where);
}

AdapterLink::Deadline AdapterDriver::DeadlineFromNow() const { return clock_.Now() + timeout_; }

std::int32_t AdapterDriver::Finish(std::int32_t status, std::int32_t error, std::int32_t count) {
    registered_.Set(status, error, count);
    return status;
}

std::int32_t AdapterDriver::Lose(const std::string& what, std::int32_t count) {
    Tell(NoticeKind::Problem, "connection to the adapter lost " + what + ": " + link_->Failure());
    link_.reset();
    answer_.clear();
    return Finish(kStatusErr, kErrorEdvr, count);
}

std::int32_t AdapterDriver::TimedOut(std::int32_t count) {
    return Finish(kStatusErr | kStatusTimo, kErrorEabo, count);
}

std::int32_t AdapterDriver::ibdev(std::int32_t boardIndex, std::int32_t primaryAddress,
                                  std::int32_t /*secondaryAddress*/, std::int32_t timeoutCode,
                                  std::int32_t /*eoiMode*/, std::int32_t /*eosMode*/) {
    link_.reset();
    answer_.clear();
    lastProblem_.clear();
    const auto timeout = GpibTimeout(timeoutCode);
    if (boardIndex != 0 || primaryAddress < 0 || primaryAddress > 30 || !timeout) {
        Finish(kStatusErr, kErrorEarg, 0);
        return -1;
    }
    timeout_ = *timeout;
    adapterReadTimeout_ = std::min<nanoseconds>(timeout_, kAdapterLongestReadTimeout);
    if (const std::string failure = Connect(primaryAddress, timeout_); !failure.empty()) {
        Tell(NoticeKind::Problem, failure);
        link_.reset();
        Finish(kStatusErr, kErrorEdvr, 0);
        return -1;
    }
    Finish(kStatusCmpl, 0, 0);
    return kDeviceDescriptor;
}

std::string AdapterDriver::Connect(std::int32_t primaryAddress, nanoseconds timeout) {
    using Result = AdapterLink::Result;
    const AdapterLink::Deadline deadline = clock_.Now() + timeout;
    StreamOpen open = opener_(timeout);
    if (!open.stream) return open.failure;
    link_ = std::make_unique<AdapterLink>(std::move(open.stream), clock_);

    // Asked again until it answers: an adapter that resets when its port opens drops what
    // comes while it starts, and may send an empty line or noise before it is ready.
    const AdapterLink::Deadline startedBy = std::min(deadline, clock_.Now() + kStartUpTime);
    std::string version;
    std::optional<AdapterKind> kind;
    std::optional<std::string> lastAnswer;  // the last line that was not empty
    while (!kind) {
        if (clock_.Now() >= startedBy) {
            if (lastAnswer)
                return R"(the adapter answered "++ver" with ")" + EscapedText(*lastAnswer) +
                       "\", which is not a Prologix-protocol GPIB-ETHERNET or GPIB-USB controller";
            return "no answer to \"++ver\" within " + std::to_string(kStartUpTime.count()) +
                   " s: not a Prologix-protocol GPIB adapter, or it is not ready";
        }
        if (link_->Send("++ver\n", startedBy) == Result::Failed)
            return "cannot talk to the adapter: " + link_->Failure();
        const AdapterLink::Deadline askAgainAt = std::min(startedBy, clock_.Now() + kVersionRetry);
        while (!kind) {
            const Result answer = link_->ReceiveLine(version, askAgainAt);
            if (answer == Result::Failed)
                return "connection to the adapter lost during the set-up: " + link_->Failure();
            if (answer == Result::TimedOut) break;
            kind = RecogniseAdapter(version);
            if (!kind && !version.empty()) lastAnswer = version;
        }
    }
    Tell(NoticeKind::Detail, "adapter \"" + EscapedText(version) + "\"");
    for (const auto& command :
         AdapterSetUp(*kind, primaryAddress, duration_cast<milliseconds>(adapterReadTimeout_))) {
        if (link_->Send(command + "\n", deadline) != Result::Done)
            return "cannot set the adapter up (\"" + command + "\"): " + link_->Failure();
    }
    return CheckAddress(primaryAddress, version, deadline);
}

// The adapter's answer to "++addr" shows that it took the set-up; answers to a repeated
// "++ver", and empty lines, may still come before it.
std::string AdapterDriver::CheckAddress(std::int32_t primaryAddress,
                                        const std::string& versionAnswer,
                                        AdapterLink::Deadline deadline) {
    using Result = AdapterLink::Result;
    if (link_->Send("++addr\n", deadline) != Result::Done)
        return "cannot set the adapter up (\"++addr\"): " + link_->Failure();
    std::string line;
    do {
        const Result result = link_->ReceiveLine(line, deadline);
        if (result == Result::Failed)
            return "connection to the adapter lost during the set-up: " + link_->Failure();
        if (result == Result::TimedOut)
            return "the adapter did not answer \"++addr\": it does not keep to the protocol";
    } while (line == versionAnswer || line.empty());
    if (line != std::to_string(primaryAddress))
        return R"(the adapter answered "++addr" with ")" + EscapedText(line) + "\" instead of " +
               std::to_string(primaryAddress) + ": it does not keep to the protocol";
    return {};
}

std::int32_t AdapterDriver::ibonl(std::int32_t descriptor, std::int32_t value) {
    if (descriptor == kBoardDescriptor) {
        if (value == 0) {
            link_.reset();
            answer_.clear();
        }
        return Finish(kStatusCmpl, 0, 0);
    }
    if (descriptor != kDeviceDescriptor) return Finish(kStatusErr, kErrorEdvr, 0);
    if (value != 0) return Finish(kStatusCmpl, 0, 0);
    answer_.clear();
    if (!link_) return Finish(kStatusErr, kErrorEdvr, 0);
    // Back to local, so the analyzer's front panel works again; nothing reaches the analyzer
    // as data.
    const AdapterLink::Deadline deadline = DeadlineFromNow();
    if (link_->Settle(deadline) == AdapterLink::Result::Failed) return Lose("before \"++loc\"");
    TellDropped("before \"++loc\"");
    const auto sent = link_->Send("++loc\n", deadline);
    if (sent == AdapterLink::Result::Failed) return Lose("at \"++loc\"");
    if (sent == AdapterLink::Result::TimedOut) return TimedOut(0);
    return Finish(kStatusCmpl, 0, 0);
}

std::int32_t AdapterDriver::ibwrt(std::int32_t descriptor, const char* bytes, std::int32_t count) {
    if (descriptor != kDeviceDescriptor || !link_ || count < 0)
        return Finish(kStatusErr, kErrorEdvr, 0);
    answer_.clear();
    const AdapterLink::Deadline deadline = DeadlineFromNow();
    // A read still under way at the adapter would take the line for a request to stop; stray
    // bytes that came already are dropped before the next read asks for its answer.
    if (link_->ReadUnderWay()) {
        if (link_->Settle(deadline) == AdapterLink::Result::Failed) return Lose("before a write");
        TellDropped("before a write");
    }
    const std::string_view data(bytes, static_cast<std::size_t>(count));
    switch (link_->Send(AdapterDataLine(data), deadline)) {
    case AdapterLink::Result::Done:
        return Finish(kStatusCmpl, 0, count);
    case AdapterLink::Result::TimedOut:
        return TimedOut(0);
    case AdapterLink::Result::Failed:
        break;
    }
    return Lose("at a write");
}

std::int32_t AdapterDriver::Deliver(char* buffer, std::int32_t count) {
    const auto n = std::min(answer_.size(), static_cast<std::size_t>(std::max(count, 0)));
    std::copy_n(answer_.begin(), n, buffer);
    answer_.erase(0, n);
    return Finish(kStatusCmpl | (answer_.empty() ? kStatusEnd : 0), 0,
                  static_cast<std::int32_t>(n));
}

std::int32_t AdapterDriver::ibrd(std::int32_t descriptor, char* buffer, std::int32_t count) {
    if (descriptor != kDeviceDescriptor || !link_ || count < 0)
        return Finish(kStatusErr, kErrorEdvr, 0);
    // The rest of a long answer comes without asking the instrument again.
    if (!answer_.empty()) return Deliver(buffer, count);
    std::string answer;
    const auto result = link_->ReadAnswer(answer, adapterReadTimeout_, DeadlineFromNow());
    TellDropped("with an answer");
    const auto n = std::min(answer.size(), static_cast<std::size_t>(count));
    std::copy_n(answer.begin(), n, buffer);
    switch (result) {
    case AdapterLink::Result::Done:
        answer_ = std::move(answer);
        return Deliver(buffer, count);
    case AdapterLink::Result::TimedOut:
        return TimedOut(static_cast<std::int32_t>(n));
    case AdapterLink::Result::Failed:
        break;
    }
    return Lose("at a read", static_cast<std::int32_t>(n));
}

std::int32_t AdapterDriver::RegisterGpibGlobalsForThread(std::int32_t* status, std::int32_t* error,
                                                         std::int32_t* count,
                                                         std::int32_t* countLong) {
    registered_.Bind(status, error, count, countLong);
    return 0;
}

std::int32_t AdapterDriver::UnregisterGpibGlobalsForThread() {
    registered_.Clear();
    return 0;
}

}  // namespace kelvane
