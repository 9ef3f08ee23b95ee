#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "analyzer/MeasurementEndWait.h"
#include "measurements/MeasurementContext.h"
#include "measurements/MeasurementResult.h"

namespace kelvane {

// The frame that every measurement runs in: it opens the analyzer, writes the title, runs the
// measurement's own steps, and closes the analyzer again whatever happened in between.
//
// A measurement stops at the first bad reply (BadReply), read that timed out, or bus fault. The
// log then gets one failure line, "<title without dots> failed: <reason>", followed by the wait's
// warning when the wait before it went wrong. A read that timed out without a byte names the query
// and what to check ("no answer to \"*STB?\" within 10 s: check that the analyzer is on, ...").
// After a bad reply or a read that timed out the closing commands
// that have not gone out yet are sent in their order, so the analyzer is left as the next run
// expects it; after a bus fault nothing more is sent. CloseAnalyzer follows in both cases.
//
// A run asked to stop (MeasurementContext::stopRequested) stops before its next command or status
// poll, never during a transfer, and after the answers of the query sent last were read: the log
// gets "<title without dots> interrupted", the closing commands that have not
// gone out yet are sent and the analyzer is closed, as after a bad reply.
// GpibRegistrationFailure passes through untouched: the program ends at once, without a single
// further driver call.
class MeasurementRun {
public:
    // title: the log's title line without its CR LF, e.g. "ACP Measurement...".
    // closingCommands: the commands that set the analyzer back at the end, in their order.
    MeasurementRun(MeasurementContext& context, std::string title,
                   std::vector<std::string> closingCommands);

    // One whole session around `steps`. Its result's outcome is Completed, Warning when the end
    // of the measurement was not reported cleanly (the results are logged all the same,
    // followed by a warning line), Failed when a failure line was logged, or Interrupted; it
    // holds the values recorded and the log text appended on the way.
    MeasurementResult Execute(const std::function<void(MeasurementRun&)>& steps);

    // One command; a write that the bus does not accept stops the run.
    void Send(const std::string& command);
    void SendAll(const std::vector<std::string>& commands);
    // One read into the start of buffer; returns the number of bytes that arrived. A read that
    // did not end properly (END, no ERR) is a bad reply named answerName, e.g. "\"OBW?\" answer":
    // part of an answer is never taken for the whole of it.
    int Read(std::string& buffer, const std::string& answerName);
    // "*CLS", "OPR 16" (channel power averaged) or "OPR 256" (sweeps averaged), then the wait for
    // the end status (at most 10 s). A wait that times out or sees an error flagged does not stop
    // the run; it is reported at its end. A status query that the analyzer did not answer stops
    // it.
    void WaitForAveragedChannelPower();
    void WaitForAveragedSweeps();
    // Sends the closing commands at their normal place in the measurement.
    void SendClosingCommands();
    void AppendResult(const std::string& text);
    // A value of the result line appended next (or just appended), for the result.
    void Record(MeasuredValue value);
    // The carrier the measurement is set to with the span it sweeps (Hz), and the emission mask
    // it sent, for the result.
    void SetCarrier(double centerHz, double spanHz);
    // onMeasuredPeak: the mask's levels were built on the peak the analyzer measured.
    void SetMask(std::vector<MaskSegment> mask, bool onMeasuredPeak = false);

private:
    void NoteWait(const WaitResult& result);
    void StopOnBusFault() const;
    void StopIfAsked() const;
    // The closing commands that have not gone out yet; a bus that fails now only ends them.
    void SetBack();
    // After a read of the session timed out, the run stops: a query whose answer would not be
    // read is never sent. answerName names the answer in the failure line when part of it came.
    void StopOnTimedOutRead(const std::string& answerName) const;
    // What to check when nothing answers at the analyzer's address.
    std::string CheckTheAnalyzer() const;
    void Fail(const std::string& reason);
    std::string BusFaultReason() const;

    MeasurementContext& context_;
    MeasurementEndWait wait_;
    std::vector<std::string> closingCommands_;
    MeasurementResult result_;  // its title is the log's title line
    std::size_t closingSent_ = 0;
    std::optional<WaitResult> troubledWait_;  // the first wait that did not end cleanly
};

}  // namespace kelvane
