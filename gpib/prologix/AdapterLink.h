#pragma once

#include <chrono>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "platform/Clock.h"
#include "transport/ByteStream.h"

namespace kelvane {

// The line-level conversation with a Prologix-protocol adapter over one open stream: commands
// out, lines and instrument answers in. Every call is bounded by a deadline on the injected
// clock (a time since the clock's start).
//
// An answer is requested with "++read eoi" and ends at the end character that the adapter
// appends after the byte that came with EOI, so its end is never guessed from timing. Timing
// only decides that the adapter gave up before an answer's first byte (its own read time-out
// passed), and then the read is asked for again.
class AdapterLink {
public:
    using Result = ByteStream::Result;
    using Deadline = std::chrono::nanoseconds;

    // Time the adapter is given beyond its read time-out to report an answer's first byte.
    static constexpr std::chrono::milliseconds kGiveUpMargin{250};

    AdapterLink(std::unique_ptr<ByteStream> stream, Clock& clock);

    // Sends a command or data line as it is (its line end included).
    Result Send(std::string_view line, Deadline deadline);
    // One line from the adapter, without its CR LF.
    Result ReceiveLine(std::string& line, Deadline deadline);
    // One answer of the instrument, without the end character. An end character before any
    // byte of the answer, and line ends or NUL before its first other byte, are strays of an
    // earlier answer and are dropped; the read goes on within the same deadline. On TimedOut
    // `answer` holds the bytes that came before the deadline.
    Result ReadAnswer(std::string& answer, std::chrono::nanoseconds adapterReadTimeout,
                      Deadline deadline);
    // Drops whatever the adapter sent that nobody asked for, after waiting out a read that
    // was still under way, so no byte of an earlier answer can lead the next one. Failed when
    // the connection has gone.
    Result Settle(Deadline deadline);

    // A "++read eoi" was sent and its answer has not ended (the read timed out).
    bool ReadUnderWay() const { return readUnderWay_; }
    // Bytes dropped by the last Settle, and by the read that followed it (strays before the
    // answer and after its end character).
    std::size_t DroppedBytes() const { return dropped_; }
    std::string Failure() const { return stream_->Failure(); }

private:
    Result Receive(Deadline until);
    std::chrono::nanoseconds Remaining(Deadline until);

    std::unique_ptr<ByteStream> stream_;
    Clock& clock_;
    std::string received_;  // arrived and not yet taken
    bool readUnderWay_ = false;
    std::chrono::nanoseconds readTimeout_{0};  // the adapter's, of the read under way
    Deadline readGivesUpAt_{0};  // when an unanswered "++read eoi" is over at the adapter
    std::size_t dropped_ = 0;
};

}  // namespace kelvane
