#include "gpib/prologix/AdapterLink.h"

#include <algorithm>
#include <utility>

#include "gpib/prologix/AdapterProtocol.h"

namespace kelvane {

namespace {

constexpr std::string_view kReadCommand = "++read eoi\n";

}  // namespace

AdapterLink::AdapterLink(std::unique_ptr<ByteStream> stream, Clock& clock)
    : stream_(std::move(stream)), clock_(clock) {}

std::chrono::nanoseconds AdapterLink::Remaining(Deadline until) {
    return std::max(until - clock_.Now(), std::chrono::nanoseconds(0));
}

AdapterLink::Result AdapterLink::Receive(Deadline until) {
    return stream_->Receive(received_, Remaining(until));
}

AdapterLink::Result AdapterLink::Send(std::string_view line, Deadline deadline) {
    return stream_->Send(line, Remaining(deadline));
}

AdapterLink::Result AdapterLink::ReceiveLine(std::string& line, Deadline deadline) {
    for (;;) {
        const auto end = received_.find('\n');
        if (end != std::string::npos) {
            line = received_.substr(0, end);
            received_.erase(0, end + 1);
            while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
            return Result::Done;
        }
        if (clock_.Now() >= deadline) return Result::TimedOut;
        const Result result = Receive(deadline);
        if (result == Result::Failed) return result;
    }
}

AdapterLink::Result AdapterLink::ReadAnswer(std::string& answer,
                                            std::chrono::nanoseconds adapterReadTimeout,
                                            Deadline deadline) {
    answer.clear();
    if (const Result settled = Settle(deadline); settled != Result::Done) return settled;
    // Line ends and NUL that come before anything else may be the tail of an earlier answer
    // that arrived late; they are the answer only when its end character follows them.
    std::string leading;
    bool ask = true;
    for (;;) {
        if (ask) {
            if (const Result sent = Send(kReadCommand, deadline); sent != Result::Done) return sent;
            readUnderWay_ = true;
            readTimeout_ = adapterReadTimeout;
            readGivesUpAt_ = clock_.Now() + readTimeout_ + kGiveUpMargin;
            ask = false;
        }
        // The adapter's time-out runs from the last byte it passed on.
        if (!received_.empty()) readGivesUpAt_ = clock_.Now() + readTimeout_ + kGiveUpMargin;
        std::size_t taken = 0;
        while (answer.empty() && taken < received_.size()) {
            const char c = received_[taken];
            if (c == kAdapterEndChar) {
                if (leading.empty()) {
                    // An answer has at least one byte: this end character is a stray one.
                    ++dropped_;
                    ++taken;
                    continue;
                }
                break;
            }
            if (c != '\0' && c != '\r' && c != '\n') {
                dropped_ += leading.size();
                leading.clear();
                break;
            }
            leading += c;
            ++taken;
        }
        received_.erase(0, taken);
        const auto end = received_.find(kAdapterEndChar);
        if (end != std::string::npos) {
            if (answer.empty()) answer = std::move(leading);
            answer.append(received_, 0, end);
            // Nothing can follow the end character of the one answer asked for.
            dropped_ += received_.size() - end - 1;
            received_.clear();
            readUnderWay_ = false;
            return Result::Done;
        }
        answer += received_;
        received_.clear();
        const Deadline now = clock_.Now();
        if (now >= deadline) {
            dropped_ += leading.size();
            return Result::TimedOut;
        }
        // Once the answer has begun, the adapter reads on until EOI or its time-out.
        if (answer.empty() && now >= readGivesUpAt_) {
            ask = true;
            continue;
        }
        const Deadline until = answer.empty() ? std::min(deadline, readGivesUpAt_) : deadline;
        if (Receive(until) == Result::Failed) return Result::Failed;
    }
}

AdapterLink::Result AdapterLink::Settle(Deadline deadline) {
    dropped_ = 0;
    while (readUnderWay_) {
        const auto end = received_.find(kAdapterEndChar);
        if (end != std::string::npos) {
            dropped_ += end + 1;
            received_.erase(0, end + 1);
            readUnderWay_ = false;
            break;
        }
        if (!received_.empty()) readGivesUpAt_ = clock_.Now() + readTimeout_ + kGiveUpMargin;
        dropped_ += received_.size();
        received_.clear();
        const Deadline until = std::min(deadline, readGivesUpAt_);
        if (clock_.Now() >= until) {
            readUnderWay_ = false;
            break;
        }
        if (Receive(until) == Result::Failed) return Result::Failed;
    }
    const Result result = Receive(clock_.Now());
    dropped_ += received_.size();
    received_.clear();
    return result == Result::Failed ? Result::Failed : Result::Done;
}

}  // namespace kelvane
