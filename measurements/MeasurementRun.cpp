#include "measurements/MeasurementRun.h"

#include <exception>
#include <utility>

#include "analyzer/GpibRegistrationFailure.h"
#include "analyzer/ReplyText.h"
#include "gpib/GpibCodes.h"
#include "measurements/BadReply.h"

namespace kelvane {

namespace {

constexpr const char* kLineEnd = "\r\n";

// Unwinds a run after the bus failed; the reason is in the session's fault.
struct BusStopped {};

// Unwinds a run that was asked to stop.
struct StopAsked {};

std::string WithoutTrailingDots(std::string text) {
    while (!text.empty() && text.back() == '.') text.pop_back();
    return text;
}

std::string WaitWarning(const WaitResult& result) {
    if (result.end == WaitResult::End::NotSeen)
        return "Warning: the analyzer did not report the end of the measurement within " +
               std::to_string(MeasurementEndWait::kTimeLimit.count()) + " s.";
    if (result.end == WaitResult::End::EventStatusUnreadable)
        return "Warning: the analyzer flagged an event but its event status could not be read.";
    return "Warning: the analyzer reported an error during the measurement (event status " +
           std::to_string(result.eventStatus) + ").";
}

}  // namespace

MeasurementRun::MeasurementRun(MeasurementContext& context, std::string title,
                               std::vector<std::string> closingCommands)
    : context_(context),
      wait_(context.session, context.clock, context.stopRequested),
      closingCommands_(std::move(closingCommands)) {
    result_.title = std::move(title);
}

MeasurementResult MeasurementRun::Execute(const std::function<void(MeasurementRun&)>& steps) {
    // A registration failure surfaces here, at the first driver call, and must pass unhandled.
    context_.session.OpenAnalyzer(context_.setup.address);
    AppendResult(std::string(kLineEnd) + result_.title + kLineEnd);
    MeasurementOutcome outcome = MeasurementOutcome::Completed;
    try {
        StopOnBusFault();
        steps(*this);
        if (troubledWait_) {
            result_.message = WaitWarning(*troubledWait_);
            AppendResult(result_.message + kLineEnd);
            outcome = MeasurementOutcome::Warning;
        }
    } catch (const BadReply& badReply) {
        Fail(badReply.what());
        outcome = MeasurementOutcome::Failed;
        SetBack();
    } catch (const StopAsked&) {
        result_.message = WithoutTrailingDots(result_.title) + " interrupted";
        AppendResult(result_.message + kLineEnd);
        outcome = MeasurementOutcome::Interrupted;
        SetBack();
    } catch (const BusStopped&) {
        Fail(BusFaultReason());
        outcome = MeasurementOutcome::Failed;
    } catch (const GpibRegistrationFailure&) {
        throw;
    } catch (const std::exception& error) {
        Fail(std::string("internal error: ") + error.what());
        outcome = MeasurementOutcome::Failed;
    }
    context_.session.CloseAnalyzer();
    result_.outcome = outcome;
    return result_;
}

void MeasurementRun::Send(const std::string& command) {
    StopIfAsked();
    context_.session.SendCommand(command);
    StopOnBusFault();
}

void MeasurementRun::SendAll(const std::vector<std::string>& commands) {
    for (const auto& command : commands) Send(command);
}

int MeasurementRun::Read(std::string& buffer, const std::string& answerName) {
    const ReplyRead read = context_.session.ReadReply(buffer);
    if (read.timedOut) StopOnTimedOutRead(answerName);
    if (!read.Good()) throw BadReply(answerName + " " + DescribeBadRead(read, buffer.size()));
    return read.bytes;
}

void MeasurementRun::WaitForAveragedChannelPower() {
    NoteWait(wait_.WaitForAveragedChannelPower());
}

void MeasurementRun::WaitForAveragedSweeps() { NoteWait(wait_.WaitForAveragedSweeps()); }

void MeasurementRun::NoteWait(const WaitResult& result) {
    StopOnBusFault();
    // A wait cut short by the request is no late end.
    StopIfAsked();
    // A status query that went unanswered is no late end: the analyzer has stopped answering.
    if (const auto& timedOut = context_.session.TimedOut())
        StopOnTimedOutRead("\"" + timedOut->query + "\" answer");
    if (!result.Clean() && !troubledWait_) troubledWait_ = result;
}

void MeasurementRun::SendClosingCommands() {
    while (closingSent_ < closingCommands_.size()) {
        // Counted before the write: a command the bus refused is not offered again. A request
        // to stop does not hold them back: they set the analyzer back.
        const std::string& command = closingCommands_[closingSent_++];
        context_.session.SendCommand(command);
        StopOnBusFault();
    }
}

void MeasurementRun::SetBack() {
    try {
        SendClosingCommands();
    } catch (const BusStopped&) {
        // The failure is logged already; a bus that fails now only ends the set-back.
    }
}

void MeasurementRun::AppendResult(const std::string& text) {
    result_.log += text;
    context_.log.AppendResult(text);
}

void MeasurementRun::Record(MeasuredValue value) { result_.values.push_back(std::move(value)); }

void MeasurementRun::SetCarrier(double centerHz, double spanHz) {
    result_.centerHz = centerHz;
    result_.spanHz = spanHz;
}

void MeasurementRun::SetMask(std::vector<MaskSegment> mask, bool onMeasuredPeak) {
    result_.mask = std::move(mask);
    result_.maskOnMeasuredPeak = onMeasuredPeak;
}

void MeasurementRun::StopOnBusFault() const {
    if (context_.session.Fault()) throw BusStopped{};
}

void MeasurementRun::StopIfAsked() const {
    if (context_.stopRequested && context_.stopRequested()) throw StopAsked{};
}

void MeasurementRun::StopOnTimedOutRead(const std::string& answerName) const {
    const auto& timedOut = context_.session.TimedOut();
    if (!timedOut) return;
    if (timedOut->read.end != ReplyRead::End::Silent)
        throw BadReply(answerName + " " + DescribeBadRead(timedOut->read, 0));
    throw BadReply("no answer to \"" + timedOut->query + "\" within " +
                   std::to_string(AnalyzerSession::kTransferTimeoutSeconds) +
                   " s: " + CheckTheAnalyzer());
}

std::string MeasurementRun::CheckTheAnalyzer() const {
    return "check that the analyzer is on, at GPIB address " +
           std::to_string(context_.session.Address().primaryAddress) + ", and cabled";
}

void MeasurementRun::Fail(const std::string& reason) {
    result_.message = WithoutTrailingDots(result_.title) + " failed: " + reason;
    AppendResult(result_.message + kLineEnd);
    // A wait that went wrong is often the reason for the bad reply: it stays in the log too.
    if (troubledWait_) AppendResult(WaitWarning(*troubledWait_) + kLineEnd);
}

std::string MeasurementRun::BusFaultReason() const {
    const auto& fault = *context_.session.Fault();
    const std::string driverError = "(driver error " + GpibErrorName(fault.error) + ")";
    const std::string detail =
        fault.detail.empty() ? "" : ": " + PrintableExcerpt(fault.detail, 200);
    if (context_.session.BoardUnavailable()) {
        const std::string board = std::to_string(context_.session.Address().board);
        return "the PC's GPIB board " + board +
               " or its driver is not set up, so the analyzer was never reached " + driverError +
               ". Check that the GPIB driver is installed and configured for board " + board +
               " and that its device file is present and accessible.";
    }
    if (fault.operation == "ibdev")
        return "ibdev could not open the analyzer " + driverError + detail;
    // No listener: nothing at the analyzer's address took the command.
    if (fault.error == kErrorEnol && fault.detail.empty())
        return "\"" + fault.operation + "\" was not accepted " + driverError + ": " +
               CheckTheAnalyzer();
    return "\"" + fault.operation + "\" was not accepted " + driverError + detail;
}

}  // namespace kelvane
