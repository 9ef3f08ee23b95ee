#include "analyzer/AnalyzerSession.h"

#include "gpib/GpibCodes.h"

namespace kelvane {

std::string BlankBuffer(std::size_t n) { return std::string(n, ' '); }

std::string NulBuffer(std::size_t n) { return std::string(n, '\0'); }

bool AnalyzerSession::CallFailed() const { return binding_.LastStatus().Failed(); }

void AnalyzerSession::OpenAnalyzer(const AnalyzerAddress& address) {
    address_ = address;
    fault_.reset();
    timedOut_.reset();
    lastCommand_.clear();
    writes_ = 0;
    reads_ = 0;
    firstReadUnanswered_ = false;
    descriptor_ = binding_.ibdev(static_cast<std::int16_t>(address.board),
                                 static_cast<std::int16_t>(address.primaryAddress),
                                 kSecondaryAddress, kTimeoutCode, kEoiMode, kEosMode);
    if (CallFailed() || descriptor_ < 0) Fail("ibdev");
}

void AnalyzerSession::SendCommand(const std::string& text) {
    if (fault_) return;
    ++writes_;
    lastCommand_ = text;
    binding_.ibwrt(descriptor_, text);
    if (CallFailed()) Fail(text);
}

ReplyRead AnalyzerSession::ReadReply(std::string& buffer) {
    if (fault_ || timedOut_) {
        ReplyRead skipped;
        skipped.end = ReplyRead::End::Skipped;
        return skipped;
    }
    binding_.ibrd(descriptor_, buffer);
    const auto& status = binding_.LastStatus();
    ReplyRead read = ClassifyRead(status.status, status.error, status.countLong, buffer.size());
    if (read.errorFlagged) read.detail = binding_.FailureDetail();
    if (read.timedOut) {
        timedOut_ = TimedOutRead{lastCommand_, read};
        if (reads_ == 0 && read.end == ReplyRead::End::Silent) firstReadUnanswered_ = true;
    }
    ++reads_;
    return read;
}

void AnalyzerSession::CloseAnalyzer() {
    // A negative descriptor names no device: the driver would only reject it.
    if (descriptor_ >= 0) binding_.ibonl(descriptor_, 0);
    binding_.ibonl(static_cast<std::int16_t>(address_.board), 0);
}

void AnalyzerSession::Fail(const std::string& operation) {
    fault_ = BusFault{operation, binding_.LastStatus().error, binding_.FailureDetail()};
}

bool AnalyzerSession::BusUnreachable() const {
    return fault_ && fault_->operation == "ibdev" &&
           (fault_->error == kErrorEdvr || fault_->error == kErrorEneb);
}

bool AnalyzerSession::AnalyzerAbsent() const {
    const bool firstWriteUnheard =
        fault_ && writes_ == 1 && fault_->operation != "ibdev" && fault_->error == kErrorEnol;
    return firstWriteUnheard || firstReadUnanswered_;
}

bool AnalyzerSession::BoardUnavailable() const {
    // A driver with its own words on the failure (an adapter that could not be reached) has said
    // what is wrong; the board advice is for the GPIB library's boards.
    return BusUnreachable() && fault_->detail.empty();
}

}  // namespace kelvane
